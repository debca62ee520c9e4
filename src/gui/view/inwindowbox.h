#pragma once

#include <QObject>
#include <QPointer>
#include <QSignalBlocker>

class QDialog;
class QFrame;
class QWidget;

// A box drawn inside the game's window, for a Wayland compositor: there the game cannot
// place a window of its own, the frame Qt draws for one offers minimise and maximise, and
// the keys reach no window for a moment after one closes. The window is veiled, the box
// sits framed with its title in the middle, and the keys stay with the box until it is
// answered; the window's own keys (Esc, Ctrl, Tab among its controls) wait.
class InWindowBox : public QObject
{
    Q_OBJECT
public:
    InWindowBox(QDialog &box, QWidget &window);
    ~InWindowBox() override;

    // Shows the box until it is answered and returns its result, as QDialog::exec does.
    int exec();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stepFocus(bool forward);

    QDialog &m_box;
    QWidget &m_window;
    // The window's keys follow the focus among its controls; the box's focus is none of
    // theirs, from its opening until it has handed the focus back.
    QSignalBlocker m_quiet;
    QWidget *m_veil = nullptr;
    QFrame *m_frame = nullptr;
    Qt::WindowFlags m_flags;
    QPointer<QWidget> m_focus;
};
