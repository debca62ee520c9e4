#pragma once

#include "battle/game.h"

#include <QLabel>

// What a screen reader hears of the battle: the outcome of every shot, either side's
// ("Б7: попадание"), and whose turn it is when the turn passes. A live region that a
// sighted player never sees: an empty, transparent label whose accessible name is the
// latest news; every change of the name is an accessibility event that is spoken.
class ShotNews : public QLabel
{
    Q_OBJECT
public:
    ShotNews(QWidget *window, const Game &game);

    void shotResolved(const Shot &shot);
    void turnPassed(Game::Turn turn);

private:
    void tell(const QString &news);

    const Game &m_game;
    Game::Turn m_toldTurn = Game::Turn::None; // the turn told with the last shot
};
