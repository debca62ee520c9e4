#pragma once

#include "battle/game.h"

#include <QObject>

class Announcement;

// Placement by hand, by ear: the ship the picker holds and its direction, the cells it would
// take from the keys' cursor, why it cannot stand there, and each ship placed with its cells
// and the next to place. Also each new automatic layout after the first, whose caption does
// not change.
class PlacementNews : public QObject
{
    Q_OBJECT
public:
    PlacementNews(Announcement &announcement, const Game &game, QObject *parent);

    // The cursor came to a cell of the player's field and the preview shows (or does not).
    void tellPreview(int index);
    // Enter on a cell of the player's field is about to be handled; then it was handled: a ship
    // stands or it was refused.
    void notePress(int index)
    {
        m_pressed = m_game.phase() == Game::Phase::PlacingByHand ? index : -1;
    }
    void tellPlacing(int index);
    // The picker's ship and the direction, as the keys come to the field; onlyTurned: only
    // when Ctrl changed the direction since it was last told.
    void tellShip(bool onlyTurned = false);

private:
    void noteChange();
    void tellPlaced(int index);
    // The cells the ship of the picker would take from index with the direction of Ctrl,
    // those on the field; offField: some would lie off it.
    QList<int> wouldTake(int index, bool *offField) const;
    bool touchesShip(const QList<int> &cells) const;

    Announcement &m_announcement;
    const Game &m_game;
    Game::Phase m_phase = Game::Phase::ChoosingWay;
    int m_pressed = -1; // the cell Enter is placing a ship on, while it is handled
    bool m_toldHorizontal = false;
};
