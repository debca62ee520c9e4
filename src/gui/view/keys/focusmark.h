#pragma once

#include <QWidget>

// The frame around the control that holds the keyboard focus. It lies above every
// control, lets the mouse through, and shows only while a control of the window holds
// the focus, which only keys give them: a player with a mouse never sees it.
class FocusMark : public QWidget
{
    Q_OBJECT
public:
    explicit FocusMark(QWidget *window);

    // Around target, or hidden for none.
    void follow(QWidget *target);

protected:
    void paintEvent(QPaintEvent *event) override;
};
