#include "miditrack.h"

#include "bytewriter.h"

#include <algorithm>

namespace {
enum Rank { SetUp = 0, NoteOff = 1, NoteOn = 2 };

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}
} // namespace

MidiTrack::MidiTrack(const QByteArray &name)
{
    ByteWriter meta;
    meta.u8(0xff);
    meta.u8(0x03); // track name
    meta.varLen(std::uint32_t(name.size()));
    meta.raw(name);
    add(0, SetUp, meta.bytes());
}

void MidiTrack::add(std::uint32_t tick, int rank, const QByteArray &bytes)
{
    m_events.append({tick, rank, int(m_events.size()), bytes});
    m_endTick = std::max(m_endTick, tick);
}

void MidiTrack::tempo(std::uint32_t tick, std::uint32_t microsecondsPerQuarter)
{
    add(tick, SetUp,
        bytesOf({0xff, 0x51, 0x03, int(microsecondsPerQuarter >> 16) & 0xff,
                 int(microsecondsPerQuarter >> 8) & 0xff, int(microsecondsPerQuarter) & 0xff}));
}

void MidiTrack::timeSignature(std::uint32_t tick, int numerator, int denominatorPower)
{
    add(tick, SetUp, bytesOf({0xff, 0x58, 0x04, numerator, denominatorPower, 24, 8}));
}

void MidiTrack::sysex(std::uint32_t tick, const QByteArray &body)
{
    ByteWriter event;
    event.u8(0xf0);
    event.varLen(std::uint32_t(body.size()));
    event.raw(body);
    add(tick, SetUp, event.bytes());
}

void MidiTrack::program(std::uint32_t tick, int channel, int program)
{
    add(tick, SetUp, bytesOf({0xc0 | channel, program}));
}

void MidiTrack::controller(std::uint32_t tick, int channel, int number, int value)
{
    add(tick, SetUp, bytesOf({0xb0 | channel, number, value}));
}

void MidiTrack::note(std::uint32_t tick, int channel, int key, int velocity, std::uint32_t duration)
{
    add(tick, NoteOn, bytesOf({0x90 | channel, key, std::clamp(velocity, 1, 127)}));
    add(tick + duration, NoteOff, bytesOf({0x80 | channel, key, 64}));
}

void MidiTrack::extendTo(std::uint32_t tick)
{
    m_endTick = std::max(m_endTick, tick);
}

QByteArray MidiTrack::encode() const
{
    QList<Event> sorted = m_events;
    std::sort(sorted.begin(), sorted.end(), [](const Event &a, const Event &b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.rank != b.rank)
            return a.rank < b.rank;
        return a.sequence < b.sequence;
    });

    ByteWriter body;
    std::uint32_t now = 0;
    for (const Event &event : sorted) {
        body.varLen(event.tick - now);
        body.raw(event.bytes);
        now = event.tick;
    }
    body.varLen(m_endTick - now);
    body.raw(bytesOf({0xff, 0x2f, 0x00}));

    ByteWriter chunk;
    chunk.text("MTrk");
    chunk.u32be(std::uint32_t(body.size()));
    chunk.raw(body.bytes());
    return chunk.bytes();
}
