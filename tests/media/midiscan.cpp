#include "midiscan.h"

#include <QMap>

#include <algorithm>

namespace {
struct TrackReader
{
    const BinaryFile &file;
    int at;
    int end;

    bool atEnd() const { return at >= end; }
    int byte() { return at < end ? file.u8(at++) : -1; }
    std::uint32_t varLen()
    {
        std::uint32_t value = 0;
        for (int count = 0; count < 4; ++count) {
            const int b = byte();
            if (b < 0)
                return value;
            value = value << 7 | std::uint32_t(b & 0x7f);
            if (!(b & 0x80))
                return value;
        }
        return value;
    }
};

// Data bytes that follow a channel status byte.
int dataLength(int status)
{
    const int kind = status & 0xf0;
    return kind == 0xc0 || kind == 0xd0 ? 1 : 2;
}
} // namespace

MidiScan MidiScan::of(const BinaryFile &file)
{
    MidiScan scan;
    if (file.text(0, 4) != "MThd" || file.u32be(4) != 6) {
        scan.error = QStringLiteral("no MThd header of six bytes");
        return scan;
    }
    scan.format = file.u16be(8);
    scan.declaredTracks = file.u16be(10);
    scan.division = file.u16be(12);
    if (scan.division == 0 || scan.division & 0x8000) {
        scan.error = QStringLiteral("division is not ticks per quarter");
        return scan;
    }

    QMap<std::uint64_t, std::uint32_t> tempoAt {{0, 500000}};
    std::uint64_t lastTick = 0;
    int chunk = 14;
    while (chunk + 8 <= file.size()) {
        const int length = int(file.u32be(chunk + 4));
        if (file.text(chunk, 4) != "MTrk" || chunk + 8 + length > file.size()) {
            scan.error = QStringLiteral("bad track chunk at byte %1").arg(chunk);
            return scan;
        }
        TrackReader track {file, chunk + 8, chunk + 8 + length};
        std::uint64_t tick = 0;
        int runningStatus = -1;
        bool ended = false;
        while (!track.atEnd() && !ended) {
            tick += track.varLen();
            int status = track.byte();
            if (status == 0xff) {
                const int type = track.byte();
                const std::uint32_t size = track.varLen();
                if (type == 0x51 && size == 3)
                    tempoAt[tick] = file.u8(track.at) << 16 | file.u8(track.at + 1) << 8
                        | file.u8(track.at + 2);
                ended = type == 0x2f;
                track.at += int(size);
            } else if (status == 0xf0 || status == 0xf7) {
                track.at += int(track.varLen());
            } else {
                if (status < 0x80) { // running status: this byte is already data
                    --track.at;
                    status = runningStatus;
                }
                if (status < 0x80) {
                    scan.error = QStringLiteral("data byte without a status");
                    return scan;
                }
                runningStatus = status;
                const int first = track.byte();
                const int second = dataLength(status) == 2 ? track.byte() : 0;
                scan.noteOns += (status & 0xf0) == 0x90 && second > 0 && first >= 0;
                scan.programChanges += (status & 0xf0) == 0xc0;
            }
        }
        scan.everyTrackEnded = scan.everyTrackEnded && ended && track.at == track.end;
        lastTick = std::max(lastTick, tick);
        ++scan.tracksRead;
        chunk += 8 + length;
    }

    // Sum the time of each stretch of the tempo map up to the last tick of any track.
    double microseconds = 0.0;
    for (auto it = tempoAt.cbegin(); it != tempoAt.cend() && it.key() < lastTick; ++it) {
        const auto next = std::next(it);
        const std::uint64_t until
            = next == tempoAt.cend() ? lastTick : std::min(next.key(), lastTick);
        microseconds += double(until - it.key()) * it.value() / scan.division;
    }
    scan.seconds = microseconds / 1e6;
    return scan;
}
