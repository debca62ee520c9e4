#include "model/randomsource.h"

#include <chrono>

namespace {
std::uint64_t splitMix(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}
} // namespace

ClockSeededRandom::ClockSeededRandom(Clock clock) : m_clock(std::move(clock))
{
    reseedFromClock();
}

void ClockSeededRandom::seed(quint64 value)
{
    std::uint64_t x = value;
    for (auto &word : m_state)
        word = splitMix(x);
}

double ClockSeededRandom::next()
{
    const std::uint64_t result = rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = rotl(m_state[3], 45);
    // The top 53 bits give a double in [0, 1).
    return double(result >> 11) * 0x1.0p-53;
}

quint64 ClockSeededRandom::systemNanoseconds()
{
    using namespace std::chrono;
    return quint64(duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count());
}
