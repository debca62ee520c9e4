#include "view/spoken/narrator.h"

#include "battle/game.h"
#include "view/spoken/announcement.h"
#include "view/spoken/battlenews.h"
#include "view/spoken/cellnames.h"
#include "view/spoken/placementnews.h"

#include <QWidget>

Narrator::Narrator(QWidget &window, const Game &game, std::function<QWidget *(int)> cell)
    : QObject(&window)
    , m_game(game)
    , m_announcement(new Announcement(&window))
    , m_battle(new BattleNews(*m_announcement, game, this))
    , m_placement(new PlacementNews(*m_announcement, game, this))
{
    setObjectName(QStringLiteral("narrator"));
    new CellNames(game, std::move(cell), this);
}

void Narrator::enterField(int index)
{
    m_announcement->say(SpokenWords::field(index));
    if (Field::sideOf(index) == Side::Player)
        m_placement->tellShip();
}

void Narrator::pointCell(int index)
{
    m_placement->tellPreview(index);
}

void Narrator::pressingCell()
{
    m_placement->notePress();
}

void Narrator::pressedCell(int index)
{
    m_placement->tellPlacing(index);
}

void Narrator::ctrlChanged()
{
    m_placement->tellShip(true);
}

void Narrator::repeat()
{
    const QString turns = m_battle->turns();
    if (turns.isEmpty())
        m_announcement->repeat();
    else
        m_announcement->say(turns);
}

void Narrator::tellState()
{
    m_battle->tellState();
}

void Narrator::refuse(SpokenWords::Refusal reason)
{
    m_announcement->say(SpokenWords::refusal(reason));
}
