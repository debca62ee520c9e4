#pragma once

#include "model/board.h"
#include "model/field.h"
#include "model/randomsource.h"

#include <QList>
#include <QString>
#include <QStringList>

// A generator replayed from a seed: every reseed from the "clock" takes the next seed.
ClockSeededRandom seededRandom(quint64 seed);

// Plays back the given draws first, then goes on with a seeded generator. Reseeding does
// not touch the script, so a test states every draw of a layout or a move in order.
class ScriptedRandom : public RandomSource
{
public:
    explicit ScriptedRandom(QList<double> script, quint64 seed = 1);
    double next() override;
    void reseedFromClock() override;
    int consumed() const { return m_consumed; }
    // "r" for each reseed and "d" for each draw, in the order they came.
    QString trace() const { return m_trace; }

private:
    QList<double> m_script;
    ClockSeededRandom m_rest;
    int m_consumed = 0;
    QString m_trace;
};

// The draw r that makes Int(span * r) + 1 come out as value.
inline double drawFor(int value, int span)
{
    return (value - 0.5) / span;
}

// The draws that lay one ship at (row, column): the orientation, then the row and column.
QList<double> shipDraws(int size, bool vertical, int row, int column);

struct ShipRun
{
    QList<int> cells; // board indices from the top or left end
    bool vertical = false;
};

// Groups the Ship and Hit cells of a field into ships (cells touching along a side or at
// a corner belong together) and reports what breaks the rules of a fleet: a bent or
// crooked group, a wrong number of ships of some size, a ship off the ranges of the
// random layout, or (drawn) a missing or wrong picture piece. Empty when all is well.
QString fleetProblem(const Board &board, Side side, bool drawn, bool randomRanges);
QList<ShipRun> shipsOf(const Board &board, Side side);

// A field written as ten rows of ten characters: '.' Empty, 'S' Ship, 'X' Hit, 'o' Miss.
void loadGrid(Board &board, Side side, const QStringList &rows);
QStringList gridOf(const Board &board, Side side);
