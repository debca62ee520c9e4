#pragma once

#include "view/spoken/spokenwords.h"

#include <QObject>
#include <QString>

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

    // The keys' focus came to a control (nullptr for none), a cell of field 0 or 1 or none
    // (-1): a field is named as the focus comes to it, not at every cell. Before the control
    // takes the focus, so that the name comes first.
    void focusCame(QWidget *control, int field);
    // Once the news of a change is told: a new name of the control with the focus, if nothing
    // was told meanwhile.
    void tellRenamed(QWidget *control);
    // The keys' cursor came to a cell (the preview shows); Enter on it is about to be
    // handled, and was handled.
    void pointCell(int index);
    void pressingCell(int index);
    void pressedCell(int index);
    // Ctrl went down or up: the direction of the ship to place.
    void ctrlChanged();
    // The last two turns again (the one under way included), or the last news outside the
    // battle.
    void repeat();
    void tellState();
    void refuse(SpokenWords::Refusal reason);

private:
    const Game &m_game;
    Announcement *m_announcement;
    BattleNews *m_battle;
    PlacementNews *m_placement;
    int m_fieldTold = -1;
    // The focused control's name when a screen reader last heard it, and how much had been
    // told by then.
    QString m_heardName;
    int m_toldWhenHeard = 0;
};
