#pragma once

#include <QList>

// A compact text notation for the tune. A melody is a list of "pitch:eighths" words,
// e.g. "D5:2 A4:1 r:3" (r is a rest; sharps and flats as C#5, Bb4); bars are
// separated by "|" for readability. A chord line names one chord per bar
// ("Dm C Bb A F"); "C,A" splits a bar into halves.
struct ScoreNote
{
    int key; // MIDI key number, -1 for a rest
    int eighths;
};

struct ScoreChord
{
    int root; // pitch class, 0 = C
    bool minor;
    int eighths;
};

class ScoreNotation
{
public:
    static QList<ScoreNote> melody(const char *text);
    static QList<ScoreChord> chords(const char *text, int eighthsPerBar);
    // MIDI key of a pitch name such as "C#5" or "Bb3"; -1 when it is not one.
    static int key(const QByteArray &name);
};
