#include "view/keyboardplay.h"

#include "battle/game.h"
#include "view/focusmark.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace {
// Down the middle of the lower half, then along the bottom row. The picker's members 5
// and 8 stand in each other's places on the screen.
const char *const readingOrder[]
    = {"lblSetAuto", "lblSetY", "lblAgree", "rb(0)",    "rb(1)",   "rb(2)",     "rb(3)",  "rb(4)",
       "rb(8)",      "rb(5)",   "rb(9)",    "rb(6)",    "rb(7)",   "rbL(0)",    "rbL(1)", "rbL(2)",
       "chGrid",     "chMusic", "chBack",   "chPoints", "lblStat", "cmdNewGame"};

bool isActivation(const QKeyEvent &key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
}
} // namespace

KeyboardPlay::KeyboardPlay(QWidget &window, Game &game)
    : QObject(&window), m_window(window), m_game(game)
{
    setObjectName(QStringLiteral("keyboardPlay"));
    for (const char *name : readingOrder) {
        if (auto *control = window.findChild<QWidget *>(QLatin1String(name)))
            m_controls << control;
    }
    m_mark = new FocusMark(&window);
    // The window keeps the focus until a key moves it, so no control shows a focus mark.
    window.setFocus();
    connect(&game, &Game::changed, this, &KeyboardPlay::keepFocusOnStop);
    // A hit marker is laid over its cell above all; the mark goes back on top.
    connect(&game, &Game::shotResolved, m_mark, &QWidget::raise);
    connect(qApp, &QApplication::focusChanged, this, &KeyboardPlay::focusMoved);
    qApp->installEventFilter(this);
}

KeyboardPlay::~KeyboardPlay()
{
    qApp->removeEventFilter(this);
}

QWidget *KeyboardPlay::cellWidget(int index) const
{
    return m_window.findChild<QWidget *>(QStringLiteral("pic(%1)").arg(index));
}

QWidget *KeyboardPlay::activeCursor() const
{
    switch (m_game.phase()) {
    case Game::Phase::PlacingByHand:
        return cellWidget(m_own.cell());
    case Game::Phase::Battle:
        return cellWidget(m_enemy.cell());
    default:
        return nullptr;
    }
}

QList<QWidget *> KeyboardPlay::stops() const
{
    QList<QWidget *> stops;
    if (QWidget *cursor = activeCursor())
        stops << cursor;
    for (QWidget *control : m_controls) {
        if (control->isVisibleTo(&m_window) && control->isEnabled())
            stops << control;
    }
    return stops;
}

bool KeyboardPlay::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // Once, where the key arrives first: a key a control leaves goes on to the window.
    QWidget *focus = QApplication::focusWidget();
    if (watched != (focus ? focus : &m_window) || (focus && focus->window() != &m_window))
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) {
        takeFocusFromKeys();
        stepFocus(key.key() == Qt::Key_Tab);
        return true;
    }
    if (focus && focus == activeCursor())
        return cellKey(key);
    // Space presses the buttons by itself; Enter does it here, once per press.
    auto *button = qobject_cast<QAbstractButton *>(focus);
    if (button && isActivation(key) && key.key() != Qt::Key_Space) {
        if (!key.isAutoRepeat())
            button->click();
        return true;
    }
    return false;
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
        cellWidget(index)->setFocusPolicy(Qt::TabFocus);
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
    stop->setFocus(reason);
}

bool KeyboardPlay::cellKey(const QKeyEvent &key)
{
    const bool own = m_game.phase() == Game::Phase::PlacingByHand;
    FieldCursor &cursor = own ? m_own : m_enemy;
    if (cursor.move(key.key())) {
        focusStop(cellWidget(cursor.cell()), Qt::OtherFocusReason);
        // Also at an edge, where the focus stays: Ctrl may have changed the orientation.
        m_game.pointerOverCell(cursor.cell());
        return true;
    }
    if (!isActivation(key))
        return false;
    // As a click: the pointer comes to the cell first, then presses. A held key repeats
    // nothing, so one press is one shot.
    if (!key.isAutoRepeat()) {
        m_game.pointerOverCell(cursor.cell());
        m_game.pressCell(cursor.cell(), true);
    }
    return true;
}

void KeyboardPlay::keepFocusOnStop()
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus == &m_window || focus->window() != &m_window)
        return;
    const QList<QWidget *> order = stops();
    if (order.isEmpty())
        m_window.setFocus();
    else if (QWidget *target = order.contains(m_stop) ? m_stop.data() : order.first();
             target != focus)
        focusStop(target, Qt::TabFocusReason);
}

void KeyboardPlay::focusMoved(QWidget *old, QWidget *now)
{
    if (!now || now->window() != &m_window)
        return; // a message box or another window: all stays as it was
    if (now != &m_window && now != m_stop) {
        // Passed on by Qt: put right once the phase has shown.
        QTimer::singleShot(0, this, &KeyboardPlay::keepFocusOnStop);
        return;
    }
    m_mark->follow(now == &m_window ? nullptr : now);
    if (m_game.phase() != Game::Phase::PlacingByHand)
        return;
    if (now == cellWidget(m_own.cell()))
        m_game.pointerOverCell(m_own.cell());
    else if (old && old == cellWidget(m_own.cell()))
        m_game.pointerOverBareWindow(); // the keys left the field: no preview stays
}
