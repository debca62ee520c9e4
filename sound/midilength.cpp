#include "sound/midilength.h"

#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr quint32 DefaultTempo = 500000; // microseconds a quarter note: 120 beats a minute

struct TempoChange
{
    quint64 tick;
    quint32 microsecondsPerQuarter;
};

// Reads the bytes of one chunk; every read is checked against the chunk's end.
class Reader
{
public:
    Reader(const char *data, qsizetype size) : m_data(data), m_size(size) { }

    bool atEnd() const { return m_pos >= m_size; }
    std::optional<quint8> byte()
    {
        if (atEnd())
            return std::nullopt;
        return quint8(m_data[m_pos++]);
    }
    std::optional<quint32> variableLength()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto next = byte();
            if (!next)
                return std::nullopt;
            value = (value << 7) | (*next & 0x7f);
            if (!(*next & 0x80))
                return value;
        }
        return std::nullopt;
    }
    bool skip(quint32 count)
    {
        if (count > quint64(m_size - m_pos))
            return false;
        m_pos += count;
        return true;
    }
    const char *here() const { return m_data + m_pos; }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// The tick of the track's last channel event, or nothing when the track is malformed.
std::optional<quint64> readTrack(Reader track, std::vector<TempoChange> &tempos)
{
    quint64 tick = 0;
    quint64 lastChannelTick = 0;
    quint8 runningStatus = 0;
    while (!track.atEnd()) {
        const auto delta = track.variableLength();
        auto status = track.byte();
        if (!delta || !status)
            return std::nullopt;
        tick += *delta;
        if (*status == 0xff) {
            const auto type = track.byte();
            const auto length = track.variableLength();
            if (!type || !length)
                return std::nullopt;
            if (*type == 0x2f)
                break;
            const auto *data = reinterpret_cast<const uchar *>(track.here());
            if (!track.skip(*length))
                return std::nullopt;
            if (*type == 0x51 && *length == 3)
                tempos.push_back({tick, quint32(data[0] << 16 | data[1] << 8 | data[2])});
        } else if (*status == 0xf0 || *status == 0xf7) {
            const auto length = track.variableLength();
            if (!length || !track.skip(*length))
                return std::nullopt;
            runningStatus = 0;
        } else if (*status >= 0xf0) {
            return std::nullopt; // system messages have no place in a file
        } else {
            quint32 dataBytes = 2;
            if (*status < 0x80) {
                if (!runningStatus)
                    return std::nullopt;
                status = runningStatus;
                dataBytes = 1; // the byte just read was the first data byte
            }
            runningStatus = *status;
            if ((*status & 0xf0) == 0xc0 || (*status & 0xf0) == 0xd0)
                --dataBytes;
            if (!track.skip(dataBytes))
                return std::nullopt;
            lastChannelTick = tick;
        }
    }
    return lastChannelTick;
}

} // namespace

qint64 MidiLength::lastEventMs(const QByteArray &midi)
{
    if (midi.size() < 14 || !midi.startsWith("MThd"))
        return -1;
    const auto *bytes = reinterpret_cast<const uchar *>(midi.constData());
    const quint32 headerLength = qFromBigEndian<quint32>(bytes + 4);
    const int tracks = qFromBigEndian<quint16>(bytes + 10);
    const quint16 division = qFromBigEndian<quint16>(bytes + 12);
    if (headerLength < 6 || headerLength > quint32(midi.size()) - 8 || division == 0)
        return -1;

    std::vector<TempoChange> tempos;
    quint64 lastTick = 0;
    qsizetype pos = 8 + headerLength;
    for (int found = 0; found < tracks && pos + 8 <= midi.size();) {
        const quint32 length = qFromBigEndian<quint32>(bytes + pos + 4);
        if (length > quint64(midi.size() - pos - 8))
            return -1;
        if (midi.mid(pos, 4) == "MTrk") {
            const auto trackEnd = readTrack(Reader(midi.constData() + pos + 8, length), tempos);
            if (!trackEnd)
                return -1;
            lastTick = std::max(lastTick, *trackEnd);
            ++found;
        }
        pos += 8 + qsizetype(length);
    }

    if (division & 0x8000) { // SMPTE: frames a second times ticks a frame
        const int frames = -qint8(division >> 8);
        const double perSecond = (frames == 29 ? 29.97 : frames) * (division & 0xff);
        return perSecond > 0 ? qint64(double(lastTick) * 1000 / perSecond) : -1;
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange &a, const TempoChange &b) { return a.tick < b.tick; });
    double microseconds = 0;
    quint64 from = 0;
    quint32 tempo = DefaultTempo;
    for (const TempoChange &change : tempos) {
        if (change.tick >= lastTick)
            break;
        microseconds += double(change.tick - from) * tempo / division;
        from = change.tick;
        tempo = change.microsecondsPerQuarter;
    }
    microseconds += double(lastTick - from) * tempo / division;
    return qint64(microseconds / 1000);
}
