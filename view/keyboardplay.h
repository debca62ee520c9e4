#pragma once

#include "view/fieldcursor.h"

#include <QList>
#include <QObject>
#include <QPointer>

class FocusMark;
class Game;
class QKeyEvent;
class QWidget;

// The whole game by keys. Tab and Shift+Tab go through what the player can click in the
// current phase, in the order it is read on the screen; Enter or Space acts on it. A field
// is one stop, its cursor cell: while placing by hand the cursor on the player's field
// shows the preview as the pointer would, in the battle the one on the computer's field
// is where Enter fires. The arrow keys move a cursor, which each field keeps.
//
// Only keys give the controls the focus (they take none from the mouse), so until a key
// is used the window itself holds it and nothing on the screen changes.
class KeyboardPlay : public QObject
{
    Q_OBJECT
public:
    KeyboardPlay(QWidget &window, Game &game);
    ~KeyboardPlay() override;

    // The stops of Tab now, in order.
    QList<QWidget *> stops() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *cellWidget(int index) const;
    // The cursor cell of the field that can be clicked in this phase, or none.
    QWidget *activeCursor() const;
    void takeFocusFromKeys();
    void stepFocus(bool forward);
    void focusStop(QWidget *stop, Qt::FocusReason reason);
    bool cellKey(const QKeyEvent &key);
    void keepFocusOnStop();
    void focusMoved(QWidget *old, QWidget *now);

    QWidget &m_window;
    Game &m_game;
    QList<QWidget *> m_controls; // every control but the cells, in reading order
    FieldCursor m_own {0};
    FieldCursor m_enemy {100};
    FocusMark *m_mark = nullptr;
    // The stop the keys gave the focus to. Qt passes the focus on by itself when that
    // control hides, to whatever comes next in its own chain; the focus returns here, or
    // to the first stop once the phase has shown.
    QPointer<QWidget> m_stop;
};
