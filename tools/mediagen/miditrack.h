#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

// One track of a Standard MIDI File, collected as events at absolute ticks in any
// order and encoded with delta times. At equal ticks set-up events come first, then
// note-offs, then note-ons, so a repeated note is released before it sounds again.
class MidiTrack
{
public:
    explicit MidiTrack(const QByteArray &name);

    void tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter);
    void timeSignature(std::uint32_t tick, int numerator, int denominatorPower);
    void sysex(std::uint32_t tick, const QByteArray &body);
    void program(std::uint32_t tick, int channel, int program);
    void controller(std::uint32_t tick, int channel, int number, int value);
    void note(std::uint32_t tick, int channel, int key, int velocity, std::uint32_t duration);
    // The track lasts at least until this tick.
    void extendTo(std::uint32_t tick);

    std::uint32_t endTick() const { return m_endTick; }
    // The whole "MTrk" chunk, ending with the end-of-track meta event.
    QByteArray encode() const;

private:
    struct Event
    {
        std::uint32_t tick;
        int rank;
        int sequence;
        QByteArray bytes;
    };
    void add(std::uint32_t tick, int rank, const QByteArray &bytes);

    QList<Event> m_events;
    std::uint32_t m_endTick = 0;
};
