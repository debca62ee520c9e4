#pragma once

#include "sound/soundservice.h"
#include "sound/tunerender.h"

#include <QByteArray>
#include <QObject>
#include <QSet>

#include <atomic>
#include <thread>

struct Mix_Chunk;
struct SoundLibrary;

// The game's real sound, through SDL2_mixer: the tune and the hit sound are chunks on channels
// of their own, mixed on the mixer's own thread, so they play on while the window is busy
// drawing an explosion. "Stop" pauses the tune's channel, which keeps its place; the hit sound
// loops on its channel until halted. Without a sound output, the mixer or a playable file,
// each cause is told once and the commands it concerns do nothing.
class GameSound : public SoundService
{
public:
    GameSound();
    // Cancels a rendering still running, halts both sounds and closes the mixer.
    ~GameSound() override;

    void setTuneFile(const QString &path) override { m_tunePath = path; }
    void openTune() override;
    void playTune() override;
    void stopTune() override;
    void closeTune() override;
    void startHitSound(const QString &wavPath) override;
    void stopHitSound() override;

    bool hasOutput() const { return m_mixerOpen; }
    // Waits until a tune being rendered is ready (or has failed) and takes it in.
    void waitForTune();

private:
    enum Channel { TuneChannel, HitChannel };

    void startRendering(const QByteArray &midi);
    void takeRendering();
    void startTuneIfDue();
    // Each trouble is said once: the game repeats its commands every few seconds.
    void warn(const QString &message);

    const SoundLibrary *m_library = nullptr;
    bool m_mixerOpen = false;
    QSet<QString> m_said;

    QString m_tunePath;
    bool m_tuneOpen = false;
    bool m_tunePlaying = false; // "Play" given and not stopped since
    bool m_tuneStarted = false; // the channel has been started since "Open"
    QByteArray m_midi; // the bytes rendered, or being rendered
    TuneRender::Result m_tune;
    Mix_Chunk *m_tuneChunk = nullptr;

    // The rendering takes about a second of CPU time for the game's tune (0.9 s measured): done
    // on the window's thread, it would hold up the main window after the authorship notice.
    std::thread m_renderer;
    std::atomic<bool> m_cancel {false};
    std::atomic<bool> m_rendered {false};
    TuneRender::Result m_rendering; // written by the renderer until m_rendered
    QObject m_context; // the renderer's "ready" reaches the window's thread through it

    QByteArray m_wav;
    Mix_Chunk *m_hitChunk = nullptr;
};
