#include "testmedia.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {

QByteArray variableLength(quint32 value)
{
    QByteArray bytes(1, char(value & 0x7f));
    while (value >>= 7)
        bytes.prepend(char((value & 0x7f) | 0x80));
    return bytes;
}

template<typename T> void appendBig(QByteArray &bytes, T value)
{
    value = qToBigEndian(value);
    bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
}

template<typename T> void appendLittle(QByteArray &bytes, T value)
{
    value = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

struct Event
{
    int tick;
    QByteArray data;
};

} // namespace

QByteArray TestMedia::midi(const QList<Note> &notes, const QMap<int, int> &programs)
{
    QList<Event> events {{0, bytes({0xff, 0x51, 0x03, 0x07, 0xa1, 0x20})}}; // 500,000 us a beat
    QList<int> channels;
    for (const Note &note : notes) {
        if (!channels.contains(note.channel)) {
            channels.append(note.channel);
            if (note.channel != 9) {
                events.append(
                    {0, bytes({0xc0 | note.channel, programs.value(note.channel, Organ)})});
            }
        }
        events.append({note.startMs, bytes({0x90 | note.channel, note.key, note.velocity})});
        events.append({note.startMs + note.lengthMs, bytes({0x80 | note.channel, note.key, 0})});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.tick < b.tick; });
    QByteArray track;
    int last = 0;
    for (const Event &event : events) {
        track += variableLength(quint32(event.tick - last)) + event.data;
        last = event.tick;
    }
    track += QByteArray("\x00\xff\x2f\x00", 4);

    QByteArray file("MThd");
    appendBig<quint32>(file, 6);
    appendBig<quint16>(file, 0);
    appendBig<quint16>(file, 1);
    appendBig<quint16>(file, 500);
    file += "MTrk";
    appendBig<quint32>(file, quint32(track.size()));
    return file + track;
}

QByteArray TestMedia::organTune(int lengthMs)
{
    QList<Note> notes;
    const int chords[][3] = {{60, 64, 67}, {62, 65, 69}, {64, 67, 71}, {65, 69, 72}};
    for (int start = 0, i = 0; start < lengthMs; start += 1000, ++i) {
        for (int key : chords[i % 4])
            notes.append({start, qMin(1000, lengthMs - start), key});
    }
    return midi(notes, {});
}

QByteArray TestMedia::busyTune(int seconds)
{
    // Melody (piano), pads (strings), bass and a brass line, with drums on channel 10.
    const int scale[] = {60, 62, 64, 65, 67, 69, 71, 72};
    QList<Note> notes;
    for (int beat = 0; beat < seconds * 2; ++beat) {
        const int t = beat * 500;
        const int key = scale[beat % 8];
        notes.append({t, 480, key, 90, 0});
        if (beat % 4 == 0) {
            for (int pad : {48, 52, 55})
                notes.append({t, 1990, pad, 70, 1});
            notes.append({t, 1000, 36, 100, 2});
        }
        if (beat % 8 == 4)
            notes.append({t, 1500, key + 12, 80, 3});
        notes.append({t, 60, 42, 80, 9});
        if (beat % 2 == 0)
            notes.append({t, 60, 36, 100, 9});
    }
    return midi(notes, {{0, 0}, {1, 48}, {2, 33}, {3, 61}});
}

QByteArray TestMedia::levelWav(qint16 level, int lengthMs)
{
    return levelWav(level, lengthMs, 1, 16);
}

QByteArray TestMedia::levelWav(qint16 level, int lengthMs, int channels, int bits,
                               const QByteArray &extraChunk, quint16 tag, int rate)
{
    const quint32 frames = quint32(qint64(rate) * lengthMs / 1000);
    const quint32 frameBytes = quint32(channels * bits / 8);
    QByteArray body("WAVEfmt ");
    appendLittle<quint32>(body, tag == Extensible ? 40 : 16);
    appendLittle<quint16>(body, tag);
    appendLittle<quint16>(body, quint16(channels));
    appendLittle<quint32>(body, quint32(rate));
    appendLittle<quint32>(body, quint32(rate) * frameBytes);
    appendLittle<quint16>(body, quint16(frameBytes));
    appendLittle<quint16>(body, quint16(bits));
    if (tag == Extensible) { // the valid bits, the speakers, then the PCM sub-format's GUID
        appendLittle<quint16>(body, 22);
        appendLittle<quint16>(body, quint16(bits));
        appendLittle<quint32>(body, channels == 1 ? 0x4 : 0x3);
        body += QByteArray::fromHex("0100000000001000800000aa00389b71");
    }
    if (!extraChunk.isEmpty()) {
        body += extraChunk.left(4);
        appendLittle<quint32>(body, quint32(extraChunk.size() - 4));
        body += extraChunk.mid(4);
        if (extraChunk.size() % 2)
            body += '\0'; // chunks keep an even length
    }
    body += "data";
    appendLittle<quint32>(body, frames * frameBytes);
    QByteArray sample;
    if (tag == Float)
        appendLittle<float>(sample, float(level) / 32768);
    else if (bits == 8)
        sample += char(128 + level / 256); // 8-bit samples are unsigned
    else { // the level in the top 16 bits, little-endian
        sample = QByteArray(bits / 8, '\0');
        qToLittleEndian<qint16>(level, sample.data() + bits / 8 - 2);
    }
    for (quint32 i = 0; i < frames * quint32(channels); ++i)
        body += sample;
    QByteArray file("RIFF");
    appendLittle<quint32>(file, quint32(body.size()));
    return file + body;
}

bool TestMedia::write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}
