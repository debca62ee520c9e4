#include "view/keys/keyboardplay.h"

#include "battle/game.h"
#include "view/fields/cellsurface.h"
#include "view/fields/fieldview.h"
#include "view/keys/focusmark.h"
#include "view/spoken/narrator.h"
#include "view/windowlayout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

namespace {
bool isActivation(const QKeyEvent &key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}

// The field a widget is a cell of: 0 the player's, 1 the computer's, -1 none.
int fieldOf(const QWidget *widget)
{
    const auto *cell = qobject_cast<const CellSurface *>(widget);
    return cell && cell->cell() >= 0 ? cell->cell() / 100 : -1;
}

} // namespace

KeyboardPlay::KeyboardPlay(QWidget &window, const Game &game, const FieldView &fields,
                           const QList<QWidget *> &controls, Narrator &narrator)
    : QObject(&window)
    , m_window(window)
    , m_game(game)
    , m_fields(fields)
    , m_narrator(narrator)
    , m_controls(WindowLayout::inReadingOrder(controls))
{
    m_mark = new FocusMark(&window);
    // The window keeps the focus until a key moves it, so no control shows a focus mark.
    window.setFocus();
    connect(&game, &Game::changed, this, &KeyboardPlay::settleAfterChange);
    // A hit marker is laid over its cell above all; the mark goes back on top.
    connect(&game, &Game::shotResolved, m_mark, &QWidget::raise);
    connect(qApp, &QApplication::focusChanged, this, &KeyboardPlay::keepMarkOnFocus);
    qApp->installEventFilter(this);
}

KeyboardPlay::~KeyboardPlay()
{
    qApp->removeEventFilter(this);
}

QList<int> KeyboardPlay::cursorCells() const
{
    switch (m_game.phase()) {
    case Game::Phase::Battle:
        return {m_enemy.cell(), m_own.cell()};
    case Game::Phase::PlacingByHand:
    case Game::Phase::AutoLayoutShown: // to be read, after the controls
    case Game::Phase::ChoosingLevel:
        return {m_own.cell()};
    default:
        return {};
    }
}

FieldCursor *KeyboardPlay::cursorOn(const QWidget *focus)
{
    for (FieldCursor *cursor : {&m_enemy, &m_own}) {
        if (focus == m_fields.cell(cursor->cell()) && cursorCells().contains(cursor->cell()))
            return cursor;
    }
    return nullptr;
}

QList<QWidget *> KeyboardPlay::stops() const
{
    QList<QWidget *> cells;
    for (int cell : cursorCells())
        cells << m_fields.cell(cell);
    QList<QWidget *> controls;
    for (QWidget *control : m_controls) {
        if (control->isVisibleTo(&m_window) && control->isEnabled())
            controls << control;
    }
    const Game::Phase phase = m_game.phase();
    const bool fieldsFirst = phase == Game::Phase::PlacingByHand || phase == Game::Phase::Battle;
    return fieldsFirst ? cells + controls : controls + cells;
}

bool KeyboardPlay::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->window() != &m_window)
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);
    // A key the control with the focus left has come on to the window.
    if (press && watched == &m_window && focus && focus != &m_window)
        return m_narrator.unusedKey(key);
    // Once, where the key arrives first.
    if (watched != (focus ? focus : &m_window))
        return false;
    // Ctrl is the game's (WindowKeys): the direction it gives is told once the game has it.
    if (key.key() == Qt::Key_Control && !key.isAutoRepeat())
        QMetaObject::invokeMethod(&m_narrator, &Narrator::ctrlChanged, Qt::QueuedConnection);
    if (!press)
        return false;
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) {
        takeFocusFromKeys();
        stepFocus(key.key() == Qt::Key_Tab);
        return true;
    }
    if (m_narrator.spokenKey(key))
        return true;
    if (FieldCursor *cursor = cursorOn(focus))
        return cellKey(*cursor, key);
    // Space presses the buttons by itself; Enter does it here, once per press.
    auto *button = qobject_cast<QAbstractButton *>(focus);
    if (button && isActivation(key) && key.key() != Qt::Key_Space) {
        if (!key.isAutoRepeat())
            button->click();
        return true;
    }
    return !focus || focus == &m_window ? m_narrator.unusedKey(key) : false;
}

void KeyboardPlay::takeFocusFromKeys()
{
    // Only from the first Tab on: a label that can take the focus draws its text a pixel
    // apart, and a player with the mouse must see the window as it always was.
    if (m_controls.isEmpty() || m_controls.first()->focusPolicy() == Qt::TabFocus)
        return;
    for (QWidget *control : m_controls)
        control->setFocusPolicy(Qt::TabFocus);
    for (int index = 0; index < 200; ++index)
        m_fields.cell(index)->setFocusPolicy(Qt::TabFocus);
}

void KeyboardPlay::stepFocus(bool forward)
{
    const QList<QWidget *> order = stops();
    if (order.isEmpty())
        return;
    const int count = int(order.size());
    const int at = int(order.indexOf(QApplication::focusWidget()));
    const int next = at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
    focusStop(order[next], forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void KeyboardPlay::focusStop(QWidget *stop, Qt::FocusReason reason)
{
    m_stop = stop;
    m_narrator.focusCame(stop, fieldOf(stop)); // the field's name before the cell's
    stop->setFocus(reason);
}

bool KeyboardPlay::cellKey(FieldCursor &cursor, const QKeyEvent &key)
{
    if (cursor.move(key.key())) {
        {
            const QScopedValueRollback moving(m_movingCursor, true);
            focusStop(m_fields.cell(cursor.cell()), Qt::OtherFocusReason);
        }
        // Also at an edge, where the focus stays: Ctrl may have changed the orientation.
        emit cellPointed(cursor.cell());
        m_narrator.pointCell(cursor.cell());
        return true;
    }
    if (!isActivation(key))
        return false;
    // A held key repeats nothing, so one press is one shot.
    if (key.isAutoRepeat() || m_narrator.refuseEnter(&cursor == &m_own))
        return true;
    m_narrator.pressingCell(cursor.cell());
    emit cellPressed(cursor.cell());
    m_narrator.pressedCell(cursor.cell());
    return true;
}

void KeyboardPlay::settleAfterChange()
{
    settleFocus();
    // A new name is looked at once the news of the change has been told, if any was.
    if (!std::exchange(m_nameCheckDue, true))
        QMetaObject::invokeMethod(this, &KeyboardPlay::tellNewName, Qt::QueuedConnection);
}

void KeyboardPlay::settleFocus()
{
    // The window's own focus child, which it keeps while a message box has the keys.
    QWidget *focus = m_window.focusWidget();
    if (!focus || focus == &m_window) {
        showFocus(&m_window);
        return;
    }
    const QList<QWidget *> order = stops();
    // A field's cell keeps the focus only while the phase does: it is another stop after.
    const bool phaseChanged
        = std::exchange(m_settledPhase, int(m_game.phase())) != int(m_game.phase());
    const bool keep = order.contains(m_stop) && !(phaseChanged && fieldOf(m_stop) >= 0);
    QWidget *target = keep ? m_stop.data() : order.value(0, &m_window);
    if (target != focus)
        focusStop(target, Qt::TabFocusReason);
    showFocus(target);
}

void KeyboardPlay::showFocus(QWidget *now)
{
    m_mark->follow(now == &m_window ? nullptr : now);
    if (now == m_shown)
        return;
    m_narrator.focusCame(now == &m_window ? nullptr : now, fieldOf(now));
    QWidget *own = m_fields.cell(m_own.cell());
    if (m_game.phase() == Game::Phase::PlacingByHand) {
        if (now == own) {
            emit cellPointed(m_own.cell());
            if (!m_movingCursor) // else told once the cursor has moved
                m_narrator.pointCell(m_own.cell());
        } else if (m_shown == own)
            emit fieldLeft();
    }
    m_shown = now;
}

void KeyboardPlay::tellNewName()
{
    m_nameCheckDue = false;
    if (m_shown && m_shown != &m_window && m_shown == m_window.focusWidget())
        m_narrator.tellRenamed(m_shown);
}

void KeyboardPlay::keepMarkOnFocus(QWidget *, QWidget *now)
{
    if (!now || now->window() != &m_window)
        return; // a message box or another window: all stays as it was
    if (now == &m_window || now == m_stop)
        showFocus(now);
    else // passed on by Qt: put right once the phase has shown
        QTimer::singleShot(0, this, &KeyboardPlay::settleFocus);
}
