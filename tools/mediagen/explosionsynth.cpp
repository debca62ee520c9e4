#include "explosionsynth.h"

#include "lowpassfilter.h"
#include "seededrandom.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int length = int(ExplosionSynth::sampleRate * ExplosionSynth::seconds);

double timeOf(int index)
{
    return double(index) / ExplosionSynth::sampleRate;
}

// Rises from 0 over `attack` seconds, then decays with time constant `decay`.
double envelope(double t, double attack, double decay)
{
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-t / decay);
}
} // namespace

ExplosionSynth::Signal ExplosionSynth::crack(SeededRandom &random)
{
    Signal out(length);
    for (int i = 0; i < length; ++i)
        out[i] = random.signedUnit() * envelope(timeOf(i), 0.0008, 0.014);
    return out;
}

ExplosionSynth::Signal ExplosionSynth::blast(SeededRandom &random)
{
    Signal out(length);
    LowPassFilter filter(sampleRate, 4000.0, 0.9);
    for (int i = 0; i < length; ++i) {
        const double t = timeOf(i);
        filter.setCutoff(180.0 + 3800.0 * std::exp(-t / 0.07));
        out[i] = filter.process(random.signedUnit()) * envelope(t, 0.003, 0.16);
    }
    return out;
}

ExplosionSynth::Signal ExplosionSynth::thump()
{
    Signal out(length);
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = timeOf(i);
        const double frequency = 38.0 + 62.0 * std::exp(-t / 0.06);
        phase += 2.0 * M_PI * frequency / sampleRate;
        out[i] = std::sin(phase) * envelope(t, 0.002, 0.13);
    }
    return out;
}

ExplosionSynth::Signal ExplosionSynth::rumble(SeededRandom &random)
{
    Signal out(length);
    LowPassFilter first(sampleRate, 110.0, 1.1);
    LowPassFilter second(sampleRate, 140.0, 0.7);
    // Slow swells make the rumble roll rather than hiss.
    const double wobble = random.range(0.0, 2.0 * M_PI);
    for (int i = 0; i < length; ++i) {
        const double t = timeOf(i);
        const double roll = 1.0 + 0.35 * std::sin(2.0 * M_PI * 5.5 * t + wobble);
        out[i]
            = second.process(first.process(random.signedUnit())) * roll * envelope(t, 0.025, 0.42);
    }
    return out;
}

ExplosionSynth::Signal ExplosionSynth::debris(SeededRandom &random)
{
    Signal out(length, 0.0);
    LowPassFilter tone(sampleRate, 2500.0, 1.5);
    for (int burst = 0; burst < 70; ++burst) {
        // Most pieces fall early; the later ones are fewer and quieter.
        const double start = 0.03 + 0.75 * std::pow(random.uniform(), 1.8);
        const double loudness = random.range(0.3, 1.0) * std::exp(-start / 0.3);
        const double decay = random.range(0.0015, 0.006);
        const int first = int(start * sampleRate);
        for (int i = first; i < std::min(length, first + int(decay * 8 * sampleRate)); ++i)
            out[i] += random.signedUnit() * loudness * std::exp(-timeOf(i - first) / decay);
    }
    for (double &sample : out)
        sample = tone.process(sample);
    return out;
}

void ExplosionSynth::normalize(Signal &signal, double peak)
{
    double largest = 0.0;
    for (double sample : signal)
        largest = std::max(largest, std::abs(sample));
    if (largest > 0.0)
        for (double &sample : signal)
            sample *= peak / largest;
}

QList<std::int16_t> ExplosionSynth::samples()
{
    SeededRandom random(0xb00b);
    const struct
    {
        Signal signal;
        double level;
    } layers[] = {
        {crack(random), 0.45}, {blast(random), 0.9},   {thump(), 0.8},
        {rumble(random), 1.0}, {debris(random), 0.25},
    };

    Signal mix(length, 0.0);
    for (auto layer : layers) {
        normalize(layer.signal, layer.level);
        for (int i = 0; i < length; ++i)
            mix[i] += layer.signal[i];
    }

    // Remove any slow drift, saturate softly for weight, and close the loop on silence.
    double previousIn = 0.0, previousOut = 0.0;
    const double pole = std::exp(-2.0 * M_PI * 25.0 / sampleRate);
    for (int i = 0; i < length; ++i) {
        const double highPassed = mix[i] - previousIn + pole * previousOut;
        previousIn = mix[i];
        previousOut = highPassed;
        mix[i] = std::tanh(1.6 * highPassed);
    }
    const int fadeIn = sampleRate / 2000;
    const int fadeOut = sampleRate / 12;
    for (int i = 0; i < fadeIn; ++i)
        mix[i] *= double(i) / fadeIn;
    for (int i = 0; i < fadeOut; ++i)
        mix[length - 1 - i] *= 0.5 - 0.5 * std::cos(M_PI * i / fadeOut);
    // About 10 dB above the tune: an explosion should stand out, not deafen.
    normalize(mix, 0.5);

    QList<std::int16_t> pcm(length);
    for (int i = 0; i < length; ++i)
        pcm[i] = std::int16_t(std::lround(mix[i] * 32767.0));
    return pcm;
}
