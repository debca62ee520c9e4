#pragma once

#include "battle/game.h"

#include <QObject>

class Announcement;

// What a screen reader hears of the battle: the outcome of every shot, either side's
// ("Б7: попадание"), and whose turn it is when the turn passes, each said once.
class ShotNews : public QObject
{
    Q_OBJECT
public:
    ShotNews(Announcement &announcement, const Game &game, QObject *parent);

    void tellShot(const Shot &shot);
    void tellTurn(Game::Turn turn);

private:
    Announcement &m_announcement;
    const Game &m_game;
    Game::Turn m_toldTurn = Game::Turn::None; // the turn told with the last shot
};
