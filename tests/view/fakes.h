#pragma once

#include "sound/soundservice.h"
#include "view/prompter.h"

#include <QFileInfo>
#include <QStringList>

#include <deque>
#include <functional>

// Records every sound command as one line, e.g. "hit Boom.wav", "stop hit", "tune Play".
class RecordingSound : public SoundService
{
public:
    QStringList calls;

    void setTuneFile(const QString &path) override
    {
        calls << QStringLiteral("tune file ") + QFileInfo(path).fileName();
    }
    void openTune() override { calls << QStringLiteral("tune Open"); }
    void playTune() override { calls << QStringLiteral("tune Play"); }
    void stopTune() override { calls << QStringLiteral("tune Stop"); }
    void closeTune() override { calls << QStringLiteral("tune Close"); }
    void startHitSound(const QString &path) override
    {
        calls << QStringLiteral("hit ") + QFileInfo(path).fileName();
    }
    void stopHitSound() override { calls << QStringLiteral("stop hit"); }
};

// Answers the game's message boxes without showing them. Every box is recorded as
// "title|text"; questions take their answers from `answers` (No when it runs dry).
class ScriptedPrompter : public Prompter
{
public:
    QStringList shown;
    std::deque<bool> answers;
    // Runs while a box would be open, as the real modal box lets timers tick.
    std::function<void(const QString &text)> whileOpen;

    void inform(QWidget *, const QString &text, const QString &title = {}) override
    {
        shown << title + QStringLiteral("|") + text;
        if (whileOpen)
            whileOpen(text);
    }
    bool ask(QWidget *, const QString &title, const QString &question) override
    {
        shown << title + QStringLiteral("|") + question;
        if (whileOpen)
            whileOpen(question);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
