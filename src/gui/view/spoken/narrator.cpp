#include "view/spoken/narrator.h"

#include "battle/game.h"
#include "view/spoken/announcement.h"
#include "view/spoken/battlenews.h"
#include "view/spoken/cellnames.h"
#include "view/spoken/placementnews.h"

#include <QAccessible>
#include <QWidget>

namespace {
// What a screen reader calls the control.
QString spokenName(QWidget *control)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(QAccessible::Name) : QString();
}
} // namespace

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

void Narrator::focusCame(QWidget *control, int field)
{
    if (field >= 0 && field != m_fieldTold) {
        m_announcement->say(SpokenWords::field(field * 100));
        if (field == 0)
            m_placement->tellShip();
    }
    m_fieldTold = field;
    m_heardName = control ? spokenName(control) : QString();
    m_toldWhenHeard = m_announcement->count();
}

void Narrator::tellRenamed(QWidget *control)
{
    const QString name = spokenName(control);
    if (name != m_heardName && m_announcement->count() == m_toldWhenHeard)
        m_announcement->say(name);
    m_heardName = name;
    m_toldWhenHeard = m_announcement->count();
}

void Narrator::pointCell(int index)
{
    m_placement->tellPreview(index);
}

void Narrator::pressingCell(int index)
{
    m_placement->notePress(index);
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
