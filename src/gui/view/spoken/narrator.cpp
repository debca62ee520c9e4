#include "view/spoken/narrator.h"

#include "placement/placementrule.h"
#include "view/spoken/announcement.h"
#include "view/spoken/battlenews.h"
#include "view/spoken/cellnames.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QWidget>

namespace {
// Qt names a letter's key by its capital: "К" and "Ы" lie where R and S do on a Russian keyboard.
constexpr int RussianR = 0x041A;
constexpr int RussianS = 0x042B;

// Keys that change others, and Orca's own; Esc is the game's.
bool isModifier(int key)
{
    return (key >= Qt::Key_Shift && key <= Qt::Key_ScrollLock) || key == Qt::Key_Insert
        || key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_AltGr
        || key == Qt::Key_Escape || key == Qt::Key_unknown || key == 0;
}

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
{
    // The battle's news first, then the placement's, then the cells' new names.
    connect(&game, &Game::changed, this, &Narrator::noteChange);
    new CellNames(game, std::move(cell), this);
}

void Narrator::focusCame(QWidget *control, int field)
{
    if (field >= 0 && field != m_fieldTold) {
        m_announcement->say(SpokenWords::field(field * 100));
        if (field == 0)
            tellShip(false);
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

void Narrator::repeat()
{
    const QString turns = m_battle->turns();
    if (turns.isEmpty())
        m_announcement->repeat();
    else
        m_announcement->say(turns);
}

void Narrator::refuse(SpokenWords::Refusal reason)
{
    m_announcement->say(SpokenWords::refusal(reason));
}

bool Narrator::spokenKey(const QKeyEvent &key)
{
    const int code = key.key();
    const bool repeat = code == Qt::Key_R || code == RussianR;
    const bool state = code == Qt::Key_S || code == RussianS;
    if ((!repeat && !state) || key.modifiers() & ~Qt::KeypadModifier)
        return false;
    if (key.isAutoRepeat())
        return true;
    if (repeat)
        this->repeat();
    else
        m_announcement->say(SpokenWords::state(m_game));
    return true;
}

bool Narrator::unusedKey(const QKeyEvent &key)
{
    if (isModifier(key.key()))
        return false;
    if (!key.isAutoRepeat())
        refuse(SpokenWords::Refusal::UnusedKey);
    return true;
}

bool Narrator::refuseEnter(bool ownField)
{
    using Refusal = SpokenWords::Refusal;
    const Game::Phase phase = m_game.phase();
    if (phase == Game::Phase::Battle && m_game.isOver())
        refuse(Refusal::GameOver);
    else if (ownField && phase == Game::Phase::Battle)
        repeat(); // the player's own field is only read in the battle
    else if (ownField && phase != Game::Phase::PlacingByHand)
        refuse(Refusal::OnlyToRead);
    else if (!ownField && m_game.turn() != Game::Turn::Player)
        refuse(Refusal::ComputersTurn);
    else
        return false;
    return true;
}

void Narrator::noteChange()
{
    // Told as the game changes, before the focus moves on to the next phase's controls.
    if (m_pressed >= 0)
        tellPlaced(std::exchange(m_pressed, -1));
    const Game::Phase was = std::exchange(m_phase, m_game.phase());
    // The first layout's news is the button's new caption; later ones change no caption.
    if (was == Game::Phase::AutoLayoutShown && m_phase == was)
        m_announcement->say(SpokenWords::laidOutAgain());
}

bool Narrator::runsOffField(int index) const
{
    const int head = m_game.isCtrlHeld() ? Field::columnOf(index) : Field::rowOf(index);
    return head + m_game.picker().selectedSize() - 1 > Field::Size;
}

void Narrator::pointCell(int index)
{
    if (m_game.phase() != Game::Phase::PlacingByHand)
        return;
    tellShip(true);
    const int size = m_game.picker().selectedSize();
    const bool horizontal = m_game.isCtrlHeld();
    if (runsOffField(index))
        refuse(SpokenWords::Refusal::OffField);
    else if (!shipFits(m_game.board(), size, Field::rowOf(index), Field::columnOf(index),
                       !horizontal))
        refuse(SpokenWords::Refusal::TouchesShip);
    else
        m_announcement->say(
            SpokenWords::preview(index, index + (size - 1) * (horizontal ? 1 : Field::Size)));
}

void Narrator::pressedCell(int index)
{
    // Placed, it was told with the change; refused, nothing changed.
    if (std::exchange(m_pressed, -1) != index)
        return;
    refuse(runsOffField(index) ? SpokenWords::Refusal::OffField
                               : SpokenWords::Refusal::TouchesShip);
}

void Narrator::tellPlaced(int index)
{
    const QList<int> ship = CellNames::shipAt(m_game.board(), index);
    if (ship.isEmpty())
        return;
    QString news = SpokenWords::placed(int(ship.size()), ship.first(), ship.last());
    news += QStringLiteral(". ");
    if (m_game.phase() == Game::Phase::PlacingByHand)
        news += SpokenWords::chosenShip(m_game.picker().selectedSize(), m_game.isCtrlHeld());
    else
        news += SpokenWords::fleetStands();
    m_announcement->say(news);
}

void Narrator::tellShip(bool onlyTurned)
{
    if (m_game.phase() != Game::Phase::PlacingByHand
        || (onlyTurned && m_game.isCtrlHeld() == m_toldHorizontal))
        return;
    m_toldHorizontal = m_game.isCtrlHeld();
    m_announcement->say(SpokenWords::chosenShip(m_game.picker().selectedSize(), m_toldHorizontal));
}
