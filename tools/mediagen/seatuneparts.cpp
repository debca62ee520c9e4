// The parts of the tune, section by section (the set-up of the band is in seatune.cpp).
#include "seatune.h"

#include <cmath>

namespace {
enum Drum { BassDrum = 36, Snare = 38, Crash = 49, Tambourine = 54 };

constexpr int lastBar = SeaTuneScore::totalBars - 1;

std::uint32_t at(int bar, int eighth)
{
    return std::uint32_t(bar * SeaTune::ticksPerBar + eighth * SeaTune::ticksPerEighth);
}

QList<int> triad(const ScoreChord &chord, int low)
{
    QList<int> keys;
    for (int interval : {0, chord.minor ? 3 : 4, 7}) {
        const int pitch = (chord.root + interval) % 12;
        keys.append(low + ((pitch - low % 12) + 12) % 12);
    }
    return keys;
}

// Root in the tuba's octave, and the fifth a fourth below or a fifth above it.
int bassRoot(const ScoreChord &chord)
{
    return 36 + chord.root;
}

int bassFifth(const ScoreChord &chord)
{
    const int root = bassRoot(chord);
    return root < 41 ? root + 7 : root - 5;
}
} // namespace

void SeaTune::melodies(const TuneSection &section)
{
    MidiTrack &fiddle = m_tracks[FiddlePart];
    switch (section.kind) {
    case TuneSection::Intro:
    case TuneSection::VerseOpen:
        playMelody(fiddle, Fiddle, section, section.kind == TuneSection::Intro ? 78 : 88, 0, 0.92);
        break;
    case TuneSection::VerseClosed:
        playMelody(fiddle, Fiddle, section, 84, 0, 0.92);
        playMelody(m_tracks[FlutePart], Flute, section, 60, 12, 0.85);
        break;
    case TuneSection::Bridge:
        playMelody(m_tracks[BrassPart], Brass, section, 92, 0, 0.88);
        break;
    case TuneSection::VerseFull:
    case TuneSection::Coda:
        playMelody(fiddle, Fiddle, section, 92, 0, 0.92);
        playMelody(m_tracks[BrassPart], Brass, section, 72, -12, 0.88);
        playMelody(m_tracks[FlutePart], Flute, section, 68, 12, 0.85);
        break;
    }
}

void SeaTune::harmony(const TuneSection &section)
{
    int eighth = section.firstBar * SeaTuneScore::eighthsPerBar;
    for (const ScoreChord &chord : section.chords) {
        const int bar = eighth / SeaTuneScore::eighthsPerBar;
        const int first = eighth % SeaTuneScore::eighthsPerBar;
        const bool rhythm = bar >= 2; // the first two bars belong to the waves and the bell
        if (bar == lastBar) {
            // The closing chord: everyone holds it for all but the last eighth.
            const std::uint32_t hold = 5 * ticksPerEighth;
            addChord(m_tracks[AccordionPart], Accordion, triad(chord, 55), at(bar, 0), hold, 72);
            addChord(m_tracks[TubaPart], Tuba, {bassRoot(chord)}, at(bar, 0), hold, 90);
            addChord(m_tracks[StringsPart], Strings, triad(chord, 60) << (bassRoot(chord) + 12),
                     at(bar, 0), hold, 64);
            addChord(m_tracks[BrassPart], Brass, triad(chord, 53), at(bar, 0), hold, 70);
            break;
        }
        for (int e = first; e < first + chord.eighths && rhythm; ++e) {
            if (e % 3 == 0) {
                const int key = e == 0 || chord.eighths < 6 ? bassRoot(chord) : bassFifth(chord);
                m_tracks[TubaPart].note(at(bar, e), Tuba, key, humanize(82, e), 380);
            } else {
                addChord(m_tracks[AccordionPart], Accordion, triad(chord, 55), at(bar, e), 130,
                         humanize(56, e));
            }
        }
        if (section.kind != TuneSection::VerseOpen) {
            const int velocity = section.kind == TuneSection::Intro ? 44 : 52;
            addChord(m_tracks[StringsPart], Strings, triad(chord, 60) << (bassRoot(chord) + 12),
                     at(bar, first), std::uint32_t(chord.eighths * ticksPerEighth - 20), velocity);
        }
        eighth += chord.eighths;
    }
}

void SeaTune::percussion(const TuneSection &section)
{
    MidiTrack &drums = m_tracks[DrumPart];
    const bool light = section.kind == TuneSection::Intro || section.kind == TuneSection::VerseOpen;
    for (int bar = std::max(section.firstBar, 2); bar < section.firstBar + section.bars; ++bar) {
        if (bar == lastBar) {
            drums.note(at(bar, 0), Drums, BassDrum, 96, 240);
            drums.note(at(bar, 0), Drums, Crash, 92, 240);
            return;
        }
        drums.note(at(bar, 0), Drums, BassDrum, humanize(light ? 60 : 76, 0), 120);
        drums.note(at(bar, 3), Drums, BassDrum, humanize(light ? 46 : 58, 3), 120);
        if (!light) {
            drums.note(at(bar, 2), Drums, Tambourine, humanize(38, 2), 120);
            drums.note(at(bar, 5), Drums, Tambourine, humanize(34, 5), 120);
        }
        if (section.kind == TuneSection::Bridge || section.kind == TuneSection::VerseFull
            || section.kind == TuneSection::Coda)
            drums.note(at(bar, 3), Drums, Snare, humanize(48, 3), 120);
    }
    // A snare roll swelling into the next section, and a crash where the full verse lands.
    const int rollBar = section.firstBar + section.bars - 1;
    if (section.kind == TuneSection::Intro || section.kind == TuneSection::Bridge) {
        for (int step = 0; step < 6; ++step)
            drums.note(at(rollBar, 3) + std::uint32_t(step * ticksPerEighth / 2), Drums, Snare,
                       34 + step * 9, 60);
    }
    if (section.kind == TuneSection::VerseOpen || section.kind == TuneSection::VerseFull)
        drums.note(at(section.firstBar, 0), Drums, Crash,
                   section.kind == TuneSection::VerseFull ? 84 : 60, 240);
}

void SeaTune::ambience()
{
    // A ship's bell strikes in pairs: two pairs to open, one to close.
    MidiTrack &bell = m_tracks[BellPart];
    for (int eighth : {0, 1, 3, 4})
        bell.note(at(0, eighth), Bell, 74, eighth % 3 == 0 ? 92 : 78, 3 * ticksPerEighth);
    for (int eighth : {0, 1})
        bell.note(at(lastBar, eighth), Bell, 74, eighth == 0 ? 84 : 72, 3 * ticksPerEighth);

    // Waves swell under the opening and come back under the last chord, fading out by
    // the end of each stretch so that nothing is cut off.
    MidiTrack &waves = m_tracks[WavesPart];
    struct Swell
    {
        int firstBar, bars, peakEighth, peak;
    };
    for (const Swell &swell : {Swell {0, 4, 6, 100}, Swell {lastBar - 1, 2, 8, 64}}) {
        const int length = swell.bars * SeaTuneScore::eighthsPerBar;
        waves.note(at(swell.firstBar, 0), Waves, 60, 100, std::uint32_t(length * ticksPerEighth));
        for (int step = 0; step <= length * 2; ++step) {
            const double eighth = step / 2.0;
            const double rise = eighth / swell.peakEighth;
            const double fall = (length - eighth) / (length - swell.peakEighth);
            const double level = std::sin(M_PI / 2 * std::clamp(std::min(rise, fall), 0.0, 1.0));
            waves.controller(at(swell.firstBar, 0) + std::uint32_t(step * ticksPerEighth / 2),
                             Waves, 11, int(std::lround(swell.peak * level)));
        }
    }
}
