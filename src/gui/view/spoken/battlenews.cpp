#include "view/spoken/battlenews.h"

#include "view/spoken/announcement.h"
#include "view/spoken/spokenwords.h"

BattleNews::BattleNews(Announcement &announcement, const Game &game, QObject *parent)
    : QObject(parent), m_announcement(announcement), m_game(game)
{
    connect(&game, &Game::changed, this, &BattleNews::noteChange);
    connect(&game, &Game::shotResolved, this, &BattleNews::tellShot);
}

void BattleNews::noteChange()
{
    const Game::Phase was = std::exchange(m_phase, m_game.phase());
    if (m_phase == was)
        return;
    m_shots.clear();
    m_finished.clear();
    // Told as the battle opens, before the focus moves to the computer's field: what the
    // focus's move says comes after it, and the first key cuts off only that.
    if (m_phase == Game::Phase::Battle) {
        m_announcement.say(SpokenWords::battleOpens(!m_keysTold));
        m_keysTold = true;
    }
}

void BattleNews::tellShot(const Shot &shot)
{
    if (shot.result == Shot::Result::Refused)
        return; // its message box says it
    if (shot.shooter != m_side && !m_shots.isEmpty())
        finishTurn(false);
    m_side = shot.shooter;
    const QString outcome = SpokenWords::shot(shot);
    m_shots << outcome;
    if (shot.result != Shot::Result::Miss || m_side == Side::Player) {
        m_announcement.say(outcome);
    } else {
        m_announcement.say(SpokenWords::turnReturns(outcome));
        finishTurn(true);
    }
}

void BattleNews::finishTurn(bool returned)
{
    m_finished << turnPhrase(m_side, m_shots, returned);
    if (m_finished.size() > 2)
        m_finished.removeFirst();
    m_shots.clear();
}

QString BattleNews::turnPhrase(Side side, const QStringList &shots, bool returned) const
{
    const QString all = shots.join(QStringLiteral(", "));
    if (side == Side::Player)
        return SpokenWords::playerTurn(all);
    const QString turn = SpokenWords::computerTurn(all);
    return returned ? turn + QStringLiteral(". ") + SpokenWords::turn(Game::Turn::Player) : turn;
}

QString BattleNews::turns() const
{
    // The player's turn and the computer's reply: the last two, the one under way included.
    QStringList told = m_finished;
    if (!m_shots.isEmpty())
        told << turnPhrase(m_side, m_shots, false);
    if (told.isEmpty() && m_phase == Game::Phase::Battle)
        told << SpokenWords::turn(m_game.turn());
    return told.mid(std::max(0, int(told.size()) - 2)).join(QStringLiteral(". "));
}
