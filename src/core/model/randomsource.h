#pragma once

#include <QtGlobal>

#include <cstdint>
#include <functional>

// Uniform draws r with 0 <= r < 1. The game reseeds from the clock before every
// automatic layout, every ship laid at random and every computer move; both the
// generator and the clock are injected so that a test can replay a game exactly.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
    virtual void reseedFromClock() = 0;

    // Int(n * r) + 1: a whole number from 1 to n.
    int draw(int n) { return int(n * next()) + 1; }
};

// A fast generator (xoshiro256**) seeded from a clock with nanosecond ticks, so two
// reseeds a microsecond apart give different sequences.
class ClockSeededRandom : public RandomSource
{
public:
    using Clock = std::function<quint64()>;

    explicit ClockSeededRandom(Clock clock = systemNanoseconds);

    double next() override;
    void reseedFromClock() override { seed(m_clock()); }
    void seed(quint64 value);

    static quint64 systemNanoseconds();

private:
    Clock m_clock;
    std::uint64_t m_state[4] {};
};
