#pragma once

#include <cstdint>

// A small generator (splitmix64) whose sequence depends only on its seed, so the
// generated media come out byte for byte the same on every run and every machine.
// std::uniform_real_distribution is avoided on purpose: its output is not portable.
class SeededRandom
{
public:
    explicit SeededRandom(std::uint64_t seed) : m_state(seed) { }

    std::uint64_t nextBits();
    // Uniform in [0, 1).
    double uniform();
    // Uniform in [low, high).
    double range(double low, double high) { return low + (high - low) * uniform(); }
    // Uniform in [-1, 1).
    double signedUnit() { return range(-1.0, 1.0); }
    // A whole number from 0 to n - 1.
    int below(int n) { return int(uniform() * n); }

private:
    std::uint64_t m_state;
};
