#pragma once

#include <QWidget>

// What a screen reader is told without the focus: news of the battle, a new caption of
// the focused control. Orca speaks an object whose role is Notification each time it
// becomes showing, and drops a renamed label that has no focus, so each piece of news is
// this widget renamed and shown anew. It is invisible: one transparent pixel that paints
// nothing and lets the mouse through.
class Announcement : public QWidget
{
    Q_OBJECT
public:
    explicit Announcement(QWidget *window);

    void say(const QString &text);
    // The last words once more.
    void repeat();
    // How often it has spoken: whoever must not say the same twice can tell whether
    // something was said meanwhile.
    int count() const { return m_count; }

private:
    int m_count = 0;
};
