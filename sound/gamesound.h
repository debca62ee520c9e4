#pragma once

#include "sound/soundservice.h"

#include <QByteArray>
#include <QSet>

struct Mix_Chunk;
struct _Mix_Music;
class QProcess;
struct SoundLibrary;

// The game's real sound, through SDL2_mixer: the tune is music streamed from a WAV file, the hit
// sound a chunk looping on a channel; both are mixed on the mixer's own thread, so they play on
// while the window is busy drawing an explosion. "Stop" pauses the music, which keeps its place.
// The tune is rendered to that WAV by a program of its own, seabattle-tune, started in the
// background, so that FluidSynth's 50 MB and any fault of a MIDI file stay out of the game; the
// WAV is kept in the user's cache under a hash of everything it was made from. Without a sound
// output, the mixer, the renderer or a playable file, each cause is told once and the commands
// it concerns do nothing.
class GameSound : public SoundService
{
public:
    // renderer: the tune's renderer; by default seabattle-tune in the game's folder.
    explicit GameSound(const QString &renderer = {});
    // Stops a rendering still running, halts both sounds and closes the mixer.
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
    void startRendering(const QByteArray &midi, const QString &wavPath);
    void renderingEnded(bool crashed, int exitCode);
    bool loadTune(const QString &wavPath);
    void startTuneIfDue();
    // Pauses the output device while nothing plays, so that no silence is mixed.
    void updateDevice();
    // Each trouble is said once: the game repeats its commands every few seconds.
    void warn(const QString &message);

    const SoundLibrary *m_library = nullptr;
    bool m_mixerOpen = false;
    quint32 m_device = 0; // the mixer's output device
    bool m_devicePaused = false;
    QSet<QString> m_said;

    QString m_tunePath;
    bool m_tuneOpen = false;
    bool m_tunePlaying = false; // "Play" given and not stopped since
    bool m_tuneStarted = false; // the music has been started since "Open"
    QByteArray m_tuneKey; // what the tune rendered, or being rendered, or failed, was made of
    _Mix_Music *m_music = nullptr;

    QString m_rendererPath;
    QProcess *m_renderer = nullptr; // deleted later, as it ends inside its own signal
    QString m_wavPath;
    QString m_partPath; // its output until it has succeeded; one per game running
    QByteArray m_rendererLog;
    bool m_renderTimedOut = false;

    bool m_hitPlaying = false;
    QByteArray m_wav;
    Mix_Chunk *m_hitChunk = nullptr;
};
