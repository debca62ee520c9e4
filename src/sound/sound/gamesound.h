#pragma once

#include "files/oncelog.h"
#include "sound/audiooutput.h"
#include "sound/soundmix.h"
#include "sound/soundservice.h"
#include "sound/tunerenderer.h"

#include <QObject>

#include <atomic>

// The game's real sound: the tune, rendered by a TuneRenderer, streamed from its file, and the
// hit sound looped from memory, mixed into one stream to the sound server on a thread of the
// server library's own, so they play on while the window is busy drawing an explosion. The
// stream is open only while one of them is to be heard: a quiet game costs nothing. "Stop"
// keeps the tune's place, "Close" and "Open" start it from its beginning. Without a sound
// server, a renderer or a playable file, each cause is told once and the commands it concerns
// do nothing.
class GameSound : public SoundService
{
public:
    // renderer: the tune's renderer; by default seabattle-tune in the game's folder.
    explicit GameSound(const QString &renderer = {});
    // Silences both sounds and disconnects; a rendering still running is stopped.
    ~GameSound() override;

    void setTuneFile(const QString &path) override { m_tunePath = path; }
    void openTune() override;
    void playTune() override;
    void stopTune() override;
    void closeTune() override;
    void startHitSound(const QString &wavPath) override;
    void stopHitSound() override;

    // Whether the sound server answers (waits for its answer).
    bool hasOutput() { return m_output.isAvailable(); }
    // Whether a stream to the server is open: something plays, or is about to.
    bool isOutputOpen() const { return m_output.isOpen(); }
    // Waits until a tune being rendered is ready (or has failed) and takes it in.
    void waitForTune() { m_renderer.waitForFinished(); }

private:
    void takeTune(TuneFile tune);
    void hitChanged();
    // Opens the stream when something is to be heard and closes it when nothing is.
    void followMix();
    void fill(std::int16_t *samples, int frames);
    // Each trouble is said once: the game repeats its commands every few seconds.
    void warn(const QString &message) { m_log.say(message); }

    QObject m_windowThread; // the output's thread reaches the window's thread through it
    OnceLog m_log; // warnings come from the output's thread too
    std::atomic<bool> m_quietNoted = false;

    QString m_tunePath;
    bool m_tuneOpen = false;
    QByteArray m_tuneKey; // what the tune rendered, or being rendered, or failed, was made of
    QByteArray m_wav; // the hit sound's file as last read
    WavSound::Frames m_hitSound;

    // The output, destroyed first, stops its thread before the mix and the hit sound it reads.
    SoundMix m_mix;
    AudioOutput m_output;
    TuneRenderer m_renderer;
};
