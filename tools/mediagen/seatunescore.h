#pragma once

#include "scorenotation.h"

// The notes of the background tune: a shanty in D minor in 6/8, forty bars. The
// sections follow each other without a gap; each names its melody and one chord
// per bar (or per half bar).
struct TuneSection
{
    enum Kind { Intro, VerseOpen, VerseClosed, Bridge, VerseFull, Coda };
    Kind kind;
    int firstBar;
    int bars;
    QList<ScoreNote> melody;
    QList<ScoreChord> chords;
};

class SeaTuneScore
{
public:
    static constexpr int eighthsPerBar = 6;
    static constexpr int totalBars = 40;

    static QList<TuneSection> sections();
};
