#include "scorenotation.h"

#include <QByteArray>

namespace {
int pitchClass(char letter)
{
    switch (letter) {
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    case 'A':
        return 9;
    case 'B':
        return 11;
    default:
        return -1;
    }
}

// Semitones above the octave's C of a letter and its accidental ("C#", "Bb", "F"):
// -1 for Cb, 12 for B#.
int semitones(const QByteArray &name, int *length)
{
    int pitch = pitchClass(name.isEmpty() ? '?' : name.at(0));
    *length = 1;
    if (pitch >= 0 && name.size() > 1 && (name.at(1) == '#' || name.at(1) == 'b')) {
        pitch += name.at(1) == '#' ? 1 : -1;
        *length = 2;
    }
    return pitch;
}
} // namespace

int ScoreNotation::key(const QByteArray &name)
{
    if (name.isEmpty() || pitchClass(name.at(0)) < 0)
        return -1;
    int length = 0;
    const int pitch = semitones(name, &length);
    bool ok = false;
    const int octave = name.mid(length).toInt(&ok);
    return ok ? (octave + 1) * 12 + pitch : -1;
}

QList<ScoreNote> ScoreNotation::melody(const char *text)
{
    QList<ScoreNote> notes;
    // Bar lines may touch the next note where two strings of bars are joined.
    const QByteArray spaced = QByteArray(text).replace('|', " | ");
    for (const QByteArray &word : spaced.simplified().split(' ')) {
        if (word.isEmpty() || word == "|")
            continue;
        const QList<QByteArray> parts = word.split(':');
        const int eighths = parts.size() == 2 ? parts.at(1).toInt() : 0;
        Q_ASSERT(eighths > 0);
        notes.append({parts.at(0) == "r" ? -1 : key(parts.at(0)), eighths});
        Q_ASSERT(notes.last().key != -1 || parts.at(0) == "r");
    }
    return notes;
}

QList<ScoreChord> ScoreNotation::chords(const char *text, int eighthsPerBar)
{
    QList<ScoreChord> chords;
    for (const QByteArray &bar : QByteArray(text).simplified().split(' ')) {
        const QList<QByteArray> names = bar.split(',');
        for (const QByteArray &name : names) {
            int length = 0;
            const int root = (semitones(name, &length) + 12) % 12;
            chords.append({root, name.mid(length) == "m", eighthsPerBar / int(names.size())});
        }
    }
    return chords;
}
