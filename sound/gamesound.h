#pragma once

#include "sound/oncewarning.h"
#include "sound/soundservice.h"

#include <QAudioDevice>

#include <functional>

class HitSound;
class QObject;
class QThread;
class TunePlayer;

// The game's real sound. The tune player and the hit sound live on an audio thread of their own:
// the window draws an explosion without returning to its event loop, and the sound must go on
// meanwhile. Every command is posted to that thread and returns at once, in the order given.
// The few calls that wait for the audio thread give up after a while with a warning, so a
// sound server or a Qt audio object that stops answering never freezes the game.
class GameSound : public SoundService
{
public:
    GameSound();
    // Stops both sounds, cancels a rendering still running, destroys the players on the audio
    // thread and waits for it to end.
    ~GameSound() override;

    void setTuneFile(const QString &path) override;
    void openTune() override;
    void playTune() override;
    void stopTune() override;
    void closeTune() override;
    void startHitSound(const QString &wavPath) override;
    void stopHitSound() override;

    // Null: the server's default output. Tests and benchmarks use an output of their own.
    void setOutputDevice(const QAudioDevice &device);
    void setSoundFont(const QString &path);
    // Waits until the audio thread has carried out every command posted so far; false, with a
    // warning, when it has not within a few seconds.
    bool sync();
    // Milliseconds of the tune heard since "Open"; waits for the audio thread (0 if it does not
    // answer).
    qint64 tunePosition();

    static constexpr int AnswerTimeoutMs = 10000;

private:
    void post(std::function<void()> command);
    bool runAndWait(std::function<void()> work);

    QThread *m_thread;
    QObject *m_context; // lives on the audio thread: every command runs there
    TunePlayer *m_tune;
    HitSound *m_hit;
    OnceWarning m_warning;
};
