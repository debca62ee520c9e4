#include "sound/gamesound.h"

#include "files/mediabytes.h"
#include "tune/tunewav.h"

#include <QLoggingCategory>

#include <pulse/sample.h>

#include <algorithm>
#include <cstring>

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

GameSound::GameSound(const QString &renderer)
    : m_log(lcSound)
    , m_output([this](const QString &why) { warn(QStringLiteral("no sound: %1").arg(why)); })
    , m_renderer(
          renderer, [this](TuneFile tune) { takeTune(std::move(tune)); },
          [this](const QString &message) { warn(message); })
{ }

GameSound::~GameSound() = default;

void GameSound::openTune()
{
    closeTune();
    QString why;
    const std::optional<QByteArray> midi
        = MediaBytes::read(m_tunePath, MediaBytes::MaxTuneBytes, &why);
    if (!midi) {
        return warn(
            QStringLiteral("the tune %1 cannot be read (%2): no music").arg(m_tunePath, why));
    }
    if (!midi->startsWith("MThd"))
        return warn(QStringLiteral("the tune %1 is not a MIDI file: no music").arg(m_tunePath));
    m_tuneOpen = true;
    // The file is read at each "Open"; an unchanged one keeps its rendering (or its failure).
    const QByteArray key = m_renderer.keyOf(*midi);
    if (key == m_tuneKey)
        return;
    m_tuneKey = key;
    m_tune.reset();
    m_renderer.render(m_tunePath, *midi, key);
}

void GameSound::playTune()
{
    m_tunePlaying = m_tuneOpen;
    if (!m_tunePlaying || !m_tune || m_tuneAt >= m_tune->dataBytes)
        return;
    // The tune's file holds 16-bit little-endian stereo whatever this machine's byte order.
    const AudioOutput::Format format {PA_SAMPLE_S16LE, TuneWav::SampleRate, TuneWav::Channels};
    m_output.play(TuneStream, format, [this](char *into, qsizetype bytes) {
        const qint64 got = m_tune->read(m_tuneAt, into, bytes);
        m_tuneAt += got;
        return qsizetype(got); // a file that ends early (another program cut it) ends the tune
    });
}

void GameSound::stopTune()
{
    m_tunePlaying = false;
    m_output.stop(TuneStream);
}

void GameSound::closeTune()
{
    stopTune();
    m_tuneOpen = false;
    m_tuneAt = 0;
}

void GameSound::startHitSound(const QString &wavPath)
{
    m_output.stop(HitStream);
    QString why;
    const std::optional<QByteArray> wav
        = MediaBytes::read(wavPath, MediaBytes::MaxSoundBytes, &why);
    if (!wav) {
        return warn(
            QStringLiteral("the hit sound %1 cannot be read (%2): no hit sound").arg(wavPath, why));
    }
    if (wav != m_wav) { // an empty file too is decoded and told once
        m_wav = wav;
        m_hit = WavSound::decode(*wav, &why);
        if (!m_hit) {
            warn(QStringLiteral("the hit sound %1 cannot be played (%2): no hit sound")
                     .arg(wavPath, why));
        }
    }
    if (!m_hit)
        return;
    m_hitAt = 0;
    m_output.play(HitStream, m_hit->format, [this](char *into, qsizetype bytes) {
        // Looped: whole frames from where it is, again from its beginning at its end.
        const QByteArray &sound = m_hit->samples;
        for (qsizetype done = 0; done < bytes;) {
            const qsizetype part = std::min(bytes - done, sound.size() - m_hitAt);
            std::memcpy(into + done, sound.constData() + m_hitAt, size_t(part));
            done += part;
            m_hitAt = (m_hitAt + part) % sound.size();
        }
        return bytes;
    });
}

void GameSound::stopHitSound()
{
    m_output.stop(HitStream);
}

void GameSound::takeTune(TuneFile tune)
{
    m_output.stop(TuneStream);
    m_tune = std::move(tune);
    m_tuneAt = 0;
    if (m_tunePlaying)
        playTune();
}
