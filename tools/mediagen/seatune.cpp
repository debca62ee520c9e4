#include "seatune.h"

#include "midifile.h"

#include <cmath>

namespace {

std::uint32_t barTick(int bar)
{
    return std::uint32_t(bar * SeaTune::ticksPerBar);
}
} // namespace

SeaTune::SeaTune() : m_random(0x5ea5ea)
{
    const char *names[] = {"seasound", "fiddle", "accordion",   "tuba",  "strings",
                           "brass",    "flute",  "ship's bell", "waves", "drums"};
    for (const char *name : names)
        m_tracks.append(MidiTrack(name));
}

QByteArray SeaTune::midi()
{
    SeaTune tune;
    tune.conductor();
    for (const TuneSection &section : SeaTuneScore::sections()) {
        tune.melodies(section);
        tune.harmony(section);
        tune.percussion(section);
    }
    tune.ambience();
    for (MidiTrack &track : tune.m_tracks)
        track.extendTo(barTick(SeaTuneScore::totalBars));
    return MidiFile::encode(tune.m_tracks, ticksPerQuarter);
}

void SeaTune::conductor()
{
    MidiTrack &track = m_tracks[Conductor];
    track.sysex(0, QByteArray::fromHex("7e7f0901f7")); // General MIDI on
    track.tempo(0, microsecondsPerQuarter);
    track.timeSignature(0, 6, 3);
    struct Voice
    {
        Part part;
        Channel channel;
        int program, volume, pan, reverb;
    };
    const Voice voices[] = {
        {FiddlePart, Fiddle, 110, 100, 72, 60}, {AccordionPart, Accordion, 21, 72, 48, 50},
        {TubaPart, Tuba, 58, 86, 60, 40},       {StringsPart, Strings, 48, 70, 64, 80},
        {BrassPart, Brass, 61, 92, 84, 60},     {FlutePart, Flute, 73, 78, 40, 70},
        {BellPart, Bell, 14, 84, 64, 90},       {WavesPart, Waves, 122, 90, 64, 40},
        {DrumPart, Drums, 0, 88, 64, 40},
    };
    for (const Voice &voice : voices) {
        MidiTrack &part = m_tracks[voice.part];
        part.controller(0, voice.channel, 121, 0); // every controller back to its default
        part.program(0, voice.channel, voice.program);
        part.controller(0, voice.channel, 7, voice.volume);
        part.controller(0, voice.channel, 10, voice.pan);
        part.controller(0, voice.channel, 91, voice.reverb);
        part.controller(0, voice.channel, 93, 20);
    }
}

int SeaTune::humanize(int velocity, int eighthInBar)
{
    const int accent = eighthInBar == 0 ? 10 : eighthInBar == 3 ? 5 : 0;
    return velocity + accent + int(std::lround(m_random.signedUnit() * 3.0));
}

void SeaTune::playMelody(MidiTrack &track, int channel, const TuneSection &section, int velocity,
                         int transpose, double legato)
{
    int eighth = 0;
    for (const ScoreNote &note : section.melody) {
        if (note.key >= 0) {
            const auto length = std::uint32_t(note.eighths * ticksPerEighth * legato);
            track.note(barTick(section.firstBar) + std::uint32_t(eighth * ticksPerEighth), channel,
                       note.key + transpose, humanize(velocity, eighth % 6), length);
        }
        eighth += note.eighths;
    }
}

void SeaTune::addChord(MidiTrack &track, int channel, const QList<int> &keys, std::uint32_t tick,
                       std::uint32_t length, int velocity)
{
    for (int key : keys)
        track.note(tick, channel, key, velocity, length);
}
