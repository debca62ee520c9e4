#pragma once

#include "sound/soundservice.h"

#include <QAudioDevice>
#include <QThread>

class HitSound;
class TunePlayer;

// The game's real sound. The tune player and the hit sound live on an audio thread of their own:
// the window draws an explosion without returning to its event loop, and the sound must go on
// meanwhile. Every command is posted to that thread and returns at once, in the order given.
class GameSound : public SoundService
{
public:
    GameSound();
    // Stops both sounds, cancels a rendering still running and waits for the audio thread.
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
    // Waits until the audio thread has carried out every command posted so far.
    void sync();
    // Milliseconds of the tune heard since "Open"; waits for the audio thread.
    qint64 tunePosition();

private:
    QThread m_thread;
    TunePlayer *m_tune;
    HitSound *m_hit;
};
