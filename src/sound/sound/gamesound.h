#pragma once

#include "files/oncelog.h"
#include "sound/audiooutput.h"
#include "sound/soundservice.h"
#include "sound/tunerenderer.h"

#include <optional>

// The game's real sound: the tune, rendered by a TuneRenderer and streamed from its file, and the
// hit sound looped from memory, each a stream of its own to the sound server, which mixes them
// and converts each from its file's format: PCM of 8, 16, 24 or 32 bits or 32-bit float, in any
// number of channels at any rate the server takes. "Stop" keeps the tune's place, "Close" and
// "Open" start it from its beginning. Without a sound server, a renderer or a playable file, each
// cause is told once and the commands it concerns do nothing.
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

private:
    enum Stream { TuneStream, HitStream };
    struct Sound
    {
        pa_sample_spec format;
        QByteArray samples; // whole frames, little-endian as WAV has them
    };
    // A WAV file's sound as it is in the file; a file cut short plays as far as it goes.
    static std::optional<Sound> decodeWav(const QByteArray &wav, QString *why);

    void takeTune(TuneFile tune);
    // Each trouble is said once, from any thread: the game repeats its commands every few seconds.
    void warn(const QString &message) { m_log.say(message); }

    OnceLog m_log;

    QString m_tunePath;
    bool m_tuneOpen = false;
    bool m_tunePlaying = false;
    QByteArray m_tuneKey; // what the tune rendered, or being rendered, or failed, was made of
    // Read on the server's thread while their stream plays, changed only while it does not.
    std::optional<TuneFile> m_tune;
    qint64 m_tuneAt = 0; // bytes of its sound played
    std::optional<Sound> m_hit;
    qsizetype m_hitAt = 0;

    // The output, destroyed first, ends the streams before the sounds they read.
    AudioOutput m_output;
    TuneRenderer m_renderer;
};
