#pragma once

#include "battle/game.h"

#include <QObject>
#include <QStringList>

class Announcement;

// What a screen reader hears of the battle, short enough to keep pace with it: the player's
// shot as its coordinate and outcome ("бэ 7 ранил", "бэ 8 мимо"); then the computer's shots
// as they come, worded as what befell the player's ships, the last with the turn coming back
// ("Г 6 ранен", "И 10 мимо, ваш ход"). Each is said before the next comes, a second and a
// half later; a name for the computer would make them trail. A key cuts
// off what a screen reader is saying, so the last two turns can be told again whole.
class BattleNews : public QObject
{
    Q_OBJECT
public:
    BattleNews(Announcement &announcement, const Game &game, QObject *parent);

    // The last two turns, the one under way included, each as one phrase: the player's and
    // the computer's reply.
    QString turns() const;

private:
    void noteChange();
    void tellShot(const Shot &shot);
    void finishTurn(bool returned);
    QString turnPhrase(Side side, const QStringList &shots, bool returned) const;

    Announcement &m_announcement;
    const Game &m_game;
    Game::Phase m_phase = Game::Phase::ChoosingWay;
    bool m_keysTold = false; // the repeat and state keys, told at the first battle
    Side m_side = Side::Player; // whose shots m_shots are
    QStringList m_shots; // the turn under way
    QStringList m_finished; // the last two finished turns' phrases
};
