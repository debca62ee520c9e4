#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

// Small MIDI and WAV files made on the spot, so that the sound tests depend on no media file.
namespace TestMedia {

struct Note
{
    int startMs;
    int lengthMs;
    int key;
    int velocity = 110;
    int channel = 0;
};

// General MIDI church organ: it holds a note at full level for as long as the key is down.
constexpr int Organ = 19;

// A type 0 MIDI file at 120 beats a minute and 500 ticks a beat: one tick is one millisecond.
// Each channel plays its General MIDI program from the map, the organ when it has none.
QByteArray midi(const QList<Note> &notes, const QMap<int, int> &programs = {});
// Held organ chords, one after the other, for the given time.
QByteArray organTune(int lengthMs);
// A minute-long arrangement for four instruments and drums, about as busy as a game tune.
QByteArray busyTune(int seconds);
// Mono 16-bit PCM at 44.1 kHz holding one level throughout: the level heard at a null sink's
// monitor tells how many copies of the sound are playing.
QByteArray levelWav(qint16 level, int lengthMs);
// The same with channels of 8, 16, 24 or 32 bits (PCM: format tag 1; float: 3, of 32 bits; the
// extensible format 0xfffe holding PCM), at a rate, and an extra chunk (id and body) between
// the format and the sound when one is given.
constexpr quint16 Pcm = 1, Float = 3, Extensible = 0xfffe;
QByteArray levelWav(qint16 level, int lengthMs, int channels, int bits,
                    const QByteArray &extraChunk = {}, quint16 tag = Pcm, int rate = 44100);
bool write(const QString &path, const QByteArray &bytes);

} // namespace TestMedia
