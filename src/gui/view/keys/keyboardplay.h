#pragma once

#include "view/keys/fieldcursor.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class FieldView;
class FocusMark;
class Game;
class Narrator;
class QKeyEvent;
class QWidget;

// The whole game by keys, acted out through the window as the mouse would. Tab and Shift+Tab go
// through what the player can click in the current phase, in the order it is read on the screen;
// Enter or Space acts on it. A field is one stop, its cursor cell: while placing by hand the cursor
// on the player's field shows the preview as the pointer would; in the battle Enter fires at the
// cursor on the computer's field, and the player's own field, the next stop, is there to be read
// (Enter there says the last turns again), as it is after the automatic layout, the last stop
// then. The arrow keys move a cursor, which each field keeps. R says the last turns again, S the
// state of the game; any other key the game has no use for says so, and so does Enter where it
// can do nothing.
//
// Only keys give the controls the focus (they take none from the mouse), so until a key
// is used the window itself holds it and nothing on the screen changes. From then on the
// focus mark sits on the control with the focus after every change of the phase, and a
// new name of that control is told to a screen reader.
class KeyboardPlay : public QObject
{
    Q_OBJECT
public:
    // The controls are the window's, in any order: Tab takes them as they are read.
    KeyboardPlay(QWidget &window, const Game &game, const FieldView &fields,
                 const QList<QWidget *> &controls, Narrator &narrator);
    ~KeyboardPlay() override;

signals:
    // The cursor came to a cell: the preview shows there as under the pointer.
    void cellPointed(int index);
    // Enter on a cell: a left click there, after the pointer came to it.
    void cellPressed(int index);
    // The keys left the player's field while placing: no preview stays.
    void fieldLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The stops of Tab now, in order.
    QList<QWidget *> stops() const;
    // The cells of the cursors that are stops now; the field the phase is about first.
    QList<int> cursorCells() const;
    FieldCursor *cursorOn(const QWidget *focus);
    void takeFocusFromKeys();
    void stepFocus(bool forward);
    void focusStop(QWidget *stop, Qt::FocusReason reason);
    bool cellKey(FieldCursor &cursor, const QKeyEvent &key);
    void settleAfterChange();
    void settleFocus();
    void showFocus(QWidget *now);
    void tellNewName();
    void keepMarkOnFocus(QWidget *old, QWidget *now);

    QWidget &m_window;
    const Game &m_game;
    const FieldView &m_fields;
    Narrator &m_narrator;
    QList<QWidget *> m_controls; // every control but the cells, in reading order
    FieldCursor m_own {0};
    FieldCursor m_enemy {100};
    FocusMark *m_mark = nullptr;
    // The stop the keys gave the focus to. Qt passes the focus on by itself when that
    // control hides, to whatever comes next in its own chain; the focus returns here, or
    // to the first stop once the phase has shown.
    QPointer<QWidget> m_stop;
    QPointer<QWidget> m_shown; // the control the mark and the preview were last shown for
    bool m_nameCheckDue = false;
    bool m_movingCursor = false; // an arrow key is moving the focus along a field
    int m_settledPhase = -1; // the phase the focus was last settled in
};
