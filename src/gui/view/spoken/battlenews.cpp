#include "view/spoken/battlenews.h"

#include "view/spoken/announcement.h"
#include "view/spoken/spokenphrases.h"
#include "view/spoken/spokenwords.h"

BattleNews::BattleNews(Announcement &announcement, const Game &game, QObject *parent)
    : QObject(parent), m_announcement(announcement), m_game(game)
{
    setObjectName(QStringLiteral("battleNews"));
    connect(&game, &Game::changed, this, &BattleNews::noteChange);
    connect(&game, &Game::shotResolved, this, &BattleNews::tellShot);
}

void BattleNews::noteChange()
{
    const Game::Phase was = std::exchange(m_phase, m_game.phase());
    if (m_phase == was)
        return;
    m_shots.clear();
    m_lastTurn.clear();
    // Told as the battle opens, before the focus moves to the computer's field: what the
    // focus's move says comes after it, and the first key cuts off only that.
    if (m_phase == Game::Phase::Battle) {
        m_announcement.say(SpokenPhrases::battleOpens(!m_keysTold));
        m_keysTold = true;
    }
}

void BattleNews::tellShot(const Shot &shot)
{
    if (shot.result == Shot::Result::Refused)
        return; // its message box says it
    if (shot.shooter != m_side && !m_shots.isEmpty()) {
        m_lastTurn = turnPhrase(m_side, m_shots, false);
        m_shots.clear();
    }
    m_side = shot.shooter;
    const QString outcome = SpokenWords::shot(shot);
    QString news = m_side == Side::Comp && m_shots.isEmpty() ? SpokenPhrases::computerTurn(outcome)
                                                             : outcome;
    m_shots << outcome;
    const bool returned = m_side == Side::Comp && shot.result == Shot::Result::Miss;
    if (returned) {
        news += QStringLiteral(". ") + SpokenWords::turn(Game::Turn::Player);
        m_lastTurn = turnPhrase(m_side, m_shots, true);
        m_shots.clear();
    }
    m_announcement.say(news);
}

QString BattleNews::turnPhrase(Side side, const QStringList &shots, bool returned) const
{
    const QString all = shots.join(QStringLiteral(", "));
    if (side == Side::Player)
        return SpokenPhrases::playerTurn(all);
    const QString turn = SpokenPhrases::computerTurn(all);
    return returned ? turn + QStringLiteral(". ") + SpokenWords::turn(Game::Turn::Player) : turn;
}

QString BattleNews::turns() const
{
    QStringList told;
    if (!m_lastTurn.isEmpty())
        told << m_lastTurn;
    if (!m_shots.isEmpty())
        told << turnPhrase(m_side, m_shots, false);
    if (told.isEmpty() && m_phase == Game::Phase::Battle)
        told << SpokenWords::turn(m_game.turn());
    return told.join(QStringLiteral(". "));
}

void BattleNews::tellState()
{
    m_announcement.say(SpokenPhrases::state(m_game));
}
