#pragma once

#include "miditrack.h"
#include "seatunescore.h"
#include "seededrandom.h"

// Arranges the tune for a General MIDI band: fiddle, flute and brass take the
// melody in turn over an accordion's off-beat chords, a tuba's oom-pah bass, a
// string pad and light percussion; waves and a ship's bell open and close it.
// The last chord ends on the fiftieth second, so the game's restart every 52 s
// follows after a breath.
class SeaTune
{
public:
    static constexpr int ticksPerQuarter = 480;
    static constexpr int ticksPerEighth = ticksPerQuarter / 2;
    static constexpr int ticksPerBar = ticksPerEighth * SeaTuneScore::eighthsPerBar;
    // A dotted quarter at 96 a minute: 1.25 s a bar, 50 s for the forty bars.
    static constexpr std::uint32_t microsecondsPerQuarter = 416667;

    static QByteArray midi();

private:
    enum Channel { Fiddle, Accordion, Tuba, Strings, Brass, Flute, Bell, Waves, Drums = 9 };
    enum Part {
        Conductor,
        FiddlePart,
        AccordionPart,
        TubaPart,
        StringsPart,
        BrassPart,
        FlutePart,
        BellPart,
        WavesPart,
        DrumPart
    };

    SeaTune();

    void conductor();
    void melodies(const TuneSection &section);
    void harmony(const TuneSection &section);
    void percussion(const TuneSection &section);
    void ambience();

    void playMelody(MidiTrack &track, int channel, const TuneSection &section, int velocity,
                    int transpose, double legato);
    void addChord(MidiTrack &track, int channel, const QList<int> &keys, std::uint32_t tick,
                  std::uint32_t length, int velocity);
    int humanize(int velocity, int eighthInBar);

    SeededRandom m_random;
    QList<MidiTrack> m_tracks;
};
