#pragma once

#include "battle/game.h"
#include "view/spoken/spokenwords.h"

#include <QObject>
#include <QString>

#include <functional>

class Announcement;
class BattleNews;
class QKeyEvent;
class QWidget;

// The spoken side of the window: the cells' names, the news of placement and battle, and
// what the keys say rather than do: R the last turns again, S the state of the game (by the
// letter or by its place on a Russian keyboard), and why a key or Enter does nothing. The
// keys' part calls it; it never acts on the game.
//
// Placement by hand, by ear: the ship the picker holds and its direction, the cells it would
// take from the keys' cursor, why it cannot stand there, and each ship placed with its cells
// and the next to place. Also each new automatic layout after the first, whose caption does
// not change.
class Narrator : public QObject
{
    Q_OBJECT
public:
    // cell: the window's cell widget of a board index, named here.
    Narrator(QWidget &window, const Game &game, std::function<QWidget *(int)> cell);

    // The keys' focus came to a control (nullptr for none), a cell of field 0 or 1 or none
    // (-1): a field is named as the focus comes to it, not at every cell. Before the control
    // takes the focus, so that the name comes first.
    void focusCame(QWidget *control, int field);
    // Once the news of a change is told: a new name of the control with the focus, if nothing
    // was told meanwhile.
    void tellRenamed(QWidget *control);
    // The keys' cursor came to a cell of the player's field and the preview shows (or does
    // not).
    void pointCell(int index);
    // Enter on a cell of the player's field is about to be handled; then it was handled: a
    // ship stands or it was refused.
    void pressingCell(int index)
    {
        m_pressed = m_game.phase() == Game::Phase::PlacingByHand ? index : -1;
    }
    void pressedCell(int index);
    // Ctrl went down or up: the direction of the ship to place.
    void ctrlChanged() { tellShip(true); }
    // R or S: told; true when it was one of them.
    bool spokenKey(const QKeyEvent &key);
    // A key nothing took: says so, unless it changes other keys or is the screen reader's.
    // True when it was told.
    bool unusedKey(const QKeyEvent &key);
    // Enter on a field's cell that cannot act now: says why (or, on the player's field in the
    // battle, the last turns again) and returns true.
    bool refuseEnter(bool ownField);

private:
    // The last two turns again (the one under way included), or the last news outside the
    // battle.
    void repeat();
    void refuse(SpokenWords::Refusal reason);
    void noteChange();
    // The picker's ship and the direction, as the keys come to the field; onlyTurned: only
    // when Ctrl changed the direction since it was last told.
    void tellShip(bool onlyTurned);
    void tellPlaced(int index);
    // The ship of the picker would run off the field from index with the direction of Ctrl.
    bool runsOffField(int index) const;

    const Game &m_game;
    Announcement *m_announcement;
    BattleNews *m_battle;
    Game::Phase m_phase = Game::Phase::ChoosingWay;
    int m_pressed = -1; // the cell Enter is placing a ship on, while it is handled
    bool m_toldHorizontal = false;
    int m_fieldTold = -1;
    // The focused control's name when a screen reader last heard it, and how much had been
    // told by then.
    QString m_heardName;
    int m_toldWhenHeard = 0;
};
