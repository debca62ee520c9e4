#include "view/keys/shotnews.h"

#include "view/keys/accessiblenames.h"
#include "view/keys/announcement.h"

ShotNews::ShotNews(Announcement &announcement, const Game &game, QObject *parent)
    : QObject(parent), m_announcement(announcement), m_game(game)
{
    setObjectName(QStringLiteral("shotNews"));
    connect(&game, &Game::shotResolved, this, &ShotNews::tellShot);
    connect(&game, &Game::turnPassed, this, &ShotNews::tellTurn);
}

void ShotNews::tellShot(const Shot &shot)
{
    QString news = AccessibleNames::shot(shot);
    if (news.isEmpty())
        return; // a refused shot: its message box says it
    // A miss has passed the turn already; it is told in the same breath.
    if (shot.result == Shot::Result::Miss) {
        m_toldTurn = m_game.turn();
        news += QStringLiteral(". ") + AccessibleNames::turn(m_toldTurn);
    }
    m_announcement.say(news);
}

void ShotNews::tellTurn(Game::Turn turn)
{
    if (turn != m_toldTurn)
        m_announcement.say(AccessibleNames::turn(turn));
    m_toldTurn = Game::Turn::None;
}
