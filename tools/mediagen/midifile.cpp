#include "midifile.h"

#include "bytewriter.h"

QByteArray MidiFile::encode(const QList<MidiTrack> &tracks, int ticksPerQuarter)
{
    ByteWriter out;
    out.text("MThd");
    out.u32be(6);
    out.u16be(1);
    out.u16be(std::uint16_t(tracks.size()));
    out.u16be(std::uint16_t(ticksPerQuarter));
    for (const MidiTrack &track : tracks)
        out.raw(track.encode());
    return out.bytes();
}
