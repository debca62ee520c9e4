#pragma once

#include <QList>

#include <cstdint>

class SeededRandom;

// Synthesises the hit sound: a sharp crack, a blast of noise whose colour sweeps
// from bright to dull, a falling low thump, a long rumble and a scatter of debris
// crackles, mixed and gently saturated. The sound starts and ends on silence so
// that the game's looping playback repeats it without a click.
class ExplosionSynth
{
public:
    static constexpr int sampleRate = 44100;
    static constexpr double seconds = 1.6;

    static QList<std::int16_t> samples();

private:
    using Signal = QList<double>;

    static Signal crack(SeededRandom &random);
    static Signal blast(SeededRandom &random);
    static Signal thump();
    static Signal rumble(SeededRandom &random);
    static Signal debris(SeededRandom &random);
    static void normalize(Signal &signal, double peak);
};
