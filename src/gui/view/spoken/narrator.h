#pragma once

#include "view/spoken/spokenwords.h"

#include <QObject>

#include <functional>

class Announcement;
class BattleNews;
class Game;
class PlacementNews;
class QWidget;

// The spoken side of the window: the cells' names, the news of placement and battle, and
// what the keys ask to be told. The keys' part calls it; it never acts on the game.
class Narrator : public QObject
{
    Q_OBJECT
public:
    // cell: the window's cell widget of a board index, named here.
    Narrator(QWidget &window, const Game &game, std::function<QWidget *(int)> cell);

    Announcement &announcement() { return *m_announcement; }

    // The keys bring the focus to a field from elsewhere, to its cell index: the field's
    // name, said before the cell's own.
    void enterField(int index);
    // The keys' cursor came to a cell (the preview shows); Enter on it is about to be
    // handled, and was handled.
    void pointCell(int index);
    void pressingCell();
    void pressedCell(int index);
    // Ctrl went down or up: the direction of the ship to place.
    void ctrlChanged();
    // The last turn and the one under way again, or the last news outside the battle.
    void repeat();
    void tellState();
    void refuse(SpokenWords::Refusal reason);

private:
    const Game &m_game;
    Announcement *m_announcement;
    BattleNews *m_battle;
    PlacementNews *m_placement;
};
