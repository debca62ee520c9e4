#pragma once

#include <QList>
#include <QWidget>

// What a screen reader is told without the focus: news of the battle, a new caption of
// the focused control. Orca speaks an object whose role is Notification each time it
// becomes showing, and drops a renamed label that has no focus, so each piece of news is
// such a widget renamed and shown anew. They lie in a status bar, where Orca says the news
// without the role's name before it. All are invisible: one transparent pixel that paints
// nothing and lets the mouse through.
//
// Orca reads the name when it gets to the event, not when the event came: a reader lagging
// behind a busy machine would hear a later piece of news in place of an earlier one and the
// later one twice. So several such widgets take turns, each keeping its words until as many
// more pieces of news have come.
class Announcement : public QWidget
{
    Q_OBJECT
public:
    explicit Announcement(QWidget *window);
    void say(const QString &text);
    // The last words once more.
    void repeat();
    const QString &lastWords() const { return m_lastWords; }
    // How often it has spoken: whoever must not say the same twice can tell whether
    // something was said meanwhile.
    int count() const { return m_count; }

private:
    struct Turn
    {
    };
    Announcement(QWidget *bar, Turn);

    QList<Announcement *> m_voices; // this one first
    QString m_lastWords;
    int m_count = 0;
};
