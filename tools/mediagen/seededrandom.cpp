#include "seededrandom.h"

std::uint64_t SeededRandom::nextBits()
{
    m_state += 0x9e3779b97f4a7c15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double SeededRandom::uniform()
{
    // The top 53 bits fill a double's mantissa exactly.
    return double(nextBits() >> 11) * (1.0 / 9007199254740992.0);
}
