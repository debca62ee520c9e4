#pragma once

#include "battle/game.h"

#include <QObject>
#include <QSet>

#include <functional>

class QWidget;

// The names of the 200 cells, as a screen reader says them: coordinate and what the player
// may know ("бэ 7 убит"). A sunk ship's cells say so, and the water marked around it is told
// apart from a shot that missed. Renamed after every change of the game, each cell only when
// its name changes: every rename is an event for a screen reader; the focused cell once the
// focus has left it.
class CellNames : public QObject
{
    Q_OBJECT
public:
    CellNames(const Game &game, std::function<QWidget *(int)> cell, QObject *parent);

    // The cells of the ship on cell index (its Ship and Hit cells), from its top or left end;
    // empty for a cell without one.
    static QList<int> shipAt(const Board &board, int index);

private:
    void noteShot(const Shot &shot);
    void rename();

    const Game &m_game;
    std::function<QWidget *(int)> m_cell;
    QSet<int> m_ring; // the cells marked as water around sunk ships
    int m_stale = -1; // the focused cell, named anew once the focus leaves it; -1 for none
};
