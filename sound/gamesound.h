#pragma once

#include "sound/soundservice.h"
#include "sound/tunerenderer.h"

#include <QSet>

struct Mix_Chunk;
struct _Mix_Music;
struct SoundLibrary;

// The game's real sound, through SDL2_mixer: the tune is music streamed from the WAV file that a
// TuneRenderer makes, the hit sound a chunk looping on a channel; both are mixed on the mixer's own
// thread, so they play on while the window is busy drawing an explosion. "Stop" pauses the music,
// which keeps its place. Without a sound output, the mixer, the renderer or a playable file, each
// cause is told once and the commands it concerns do nothing.
class GameSound : public SoundService
{
public:
    // renderer: the tune's renderer; by default seabattle-tune in the game's folder.
    explicit GameSound(const QString &renderer = {});
    // Halts both sounds and closes the mixer; a rendering still running is stopped.
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
    void waitForTune() { m_renderer.waitForFinished(); }

private:
    // Why the WAV cannot be played, or nothing when it is loaded (and started, when due).
    QString loadTune(const QString &wavPath);
    void startTuneIfDue();
    // Each trouble is said once: the game repeats its commands every few seconds.
    void warn(const QString &message);

    const SoundLibrary *m_library = nullptr;
    bool m_mixerOpen = false;
    QSet<QString> m_said;

    QString m_tunePath;
    bool m_tuneOpen = false;
    bool m_tunePlaying = false; // "Play" given and not stopped since
    bool m_tuneStarted = false; // the music has been started since "Open"
    QByteArray m_tuneKey; // what the tune rendered, or being rendered, or failed, was made of
    _Mix_Music *m_music = nullptr;
    TuneRenderer m_renderer;

    QByteArray m_wav;
    Mix_Chunk *m_hitChunk = nullptr;
};
