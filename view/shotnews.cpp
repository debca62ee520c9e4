#include "view/shotnews.h"

#include "view/accessiblenames.h"

ShotNews::ShotNews(QWidget *window, const Game &game) : QLabel(window), m_game(game)
{
    setObjectName(QStringLiteral("shotNews"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    setAccessibleName(QStringLiteral("Ход игры"));
    connect(&game, &Game::shotResolved, this, &ShotNews::shotResolved);
    connect(&game, &Game::turnPassed, this, &ShotNews::turnPassed);
}

void ShotNews::shotResolved(const Shot &shot)
{
    QString news = AccessibleNames::shot(shot);
    if (news.isEmpty())
        return; // a refused shot: its message box says it
    // A miss has passed the turn already; it is told in the same breath.
    if (shot.result == Shot::Result::Miss) {
        m_toldTurn = m_game.turn();
        news += QStringLiteral(". ") + AccessibleNames::turn(m_toldTurn);
    }
    tell(news);
}

void ShotNews::turnPassed(Game::Turn turn)
{
    if (turn != m_toldTurn)
        tell(AccessibleNames::turn(turn));
    m_toldTurn = Game::Turn::None;
}

void ShotNews::tell(const QString &news)
{
    if (news.isEmpty())
        return;
    // The same words twice (two misses in a row are told apart by their cells, but a
    // turn may come back to the same words) must still be heard: clear them first.
    if (accessibleName() == news)
        setAccessibleName(QString());
    setAccessibleName(news);
}
