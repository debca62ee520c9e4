#include "sound/gamesound.h"

#include "files/mediabytes.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

GameSound::GameSound(const QString &renderer)
    : m_log(lcSound)
    , m_output([this](std::int16_t *samples, int frames) { fill(samples, frames); },
               [this](const QString &why) { warn(QStringLiteral("no sound: %1").arg(why)); })
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
    {
        const AudioOutput::Lock lock(m_output);
        m_mix.dropTune();
    }
    m_renderer.render(m_tunePath, *midi, key);
}

void GameSound::playTune()
{
    if (!m_tuneOpen)
        return;
    {
        const AudioOutput::Lock lock(m_output);
        m_mix.setTunePlaying(true);
    }
    followMix();
}

void GameSound::stopTune()
{
    {
        const AudioOutput::Lock lock(m_output);
        m_mix.setTunePlaying(false);
    }
    followMix();
}

void GameSound::closeTune()
{
    m_tuneOpen = false;
    {
        const AudioOutput::Lock lock(m_output);
        m_mix.setTunePlaying(false);
        m_mix.rewindTune();
    }
    followMix();
}

void GameSound::startHitSound(const QString &wavPath)
{
    QString why;
    const std::optional<QByteArray> wav
        = MediaBytes::read(wavPath, MediaBytes::MaxSoundBytes, &why);
    if (!wav) {
        stopHitSound();
        return warn(
            QStringLiteral("the hit sound %1 cannot be read (%2): no hit sound").arg(wavPath, why));
    }
    std::optional<WavSound::Frames> decoded;
    if (*wav != m_wav) {
        decoded = WavSound::decode(*wav, &why);
        if (!decoded) {
            warn(QStringLiteral("the hit sound %1 cannot be played (%2): no hit sound")
                     .arg(wavPath, why));
            decoded.emplace();
        }
    }
    {
        const AudioOutput::Lock lock(m_output);
        if (decoded) {
            m_mix.stopHit(); // before the sound it plays is replaced
            m_wav = *wav;
            m_hitSound = std::move(*decoded);
        }
        m_mix.startHit(&m_hitSound);
    }
    hitChanged();
}

void GameSound::stopHitSound()
{
    {
        const AudioOutput::Lock lock(m_output);
        m_mix.stopHit();
    }
    hitChanged();
}

void GameSound::hitChanged()
{
    // With the tune playing, the stream holds up to 40 ms of it: that is dropped, so that the
    // hit sound starts or stops with the shot. The tune skips as much, under the hit's attack.
    if (m_output.isOpen())
        m_output.flush();
    followMix();
}

void GameSound::takeTune(TuneFile tune)
{
    {
        const AudioOutput::Lock lock(m_output);
        m_mix.setTune(std::move(tune));
    }
    followMix();
}

void GameSound::followMix()
{
    bool audible = false;
    {
        const AudioOutput::Lock lock(m_output);
        audible = m_mix.isAudible();
    }
    if (audible) {
        m_quietNoted = false;
        m_output.open();
    } else {
        m_output.close();
    }
}

void GameSound::fill(std::int16_t *samples, int frames)
{
    m_mix.fill(samples, frames);
    // The tune ran out: the window's thread closes the stream (the server's thread must not).
    if (!m_mix.isAudible() && !m_quietNoted.exchange(true))
        QMetaObject::invokeMethod(
            &m_windowThread, [this] { followMix(); }, Qt::QueuedConnection);
}
