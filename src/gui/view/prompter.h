#pragma once

#include <QString>

class QWidget;

// The game's message boxes. The real one is modal, and its nested event loop lets
// the timers tick while it is open; tests answer through a fake.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // One OK button, no icon; an empty title unless one is given.
    virtual void inform(QWidget *parent, const QString &text, const QString &title = {}) = 0;
    // Yes and No with a title; true for Yes.
    virtual bool ask(QWidget *parent, const QString &title, const QString &question) = 0;
};

class MessageBoxPrompter : public Prompter
{
public:
    void inform(QWidget *parent, const QString &text, const QString &title = {}) override;
    bool ask(QWidget *parent, const QString &title, const QString &question) override;
};
