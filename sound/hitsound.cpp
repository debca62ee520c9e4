#include "sound/hitsound.h"

#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

HitSound::HitSound(QObject *parent) : QObject(parent) { }

HitSound::~HitSound()
{
    stop();
}

void HitSound::setOutputDevice(const QAudioDevice &device)
{
    m_device = device;
}

void HitSound::start(const QString &wavPath)
{
    stop();
    // QSoundEffect believes it plays even when no server is there to hear it.
    const QAudioDevice device = m_device.isNull() ? QMediaDevices::defaultAudioOutput() : m_device;
    if (device.isNull())
        return m_warning.warn(QStringLiteral("no audio output: the hit sound is not heard"));
    if (!isUsable(wavPath))
        return;
    auto *effect = new QSoundEffect(device, this);
    connect(effect, &QSoundEffect::statusChanged, this, [this, effect, wavPath] {
        if (effect->status() == QSoundEffect::Error) {
            m_warning.warn(
                QStringLiteral("the hit sound %1 cannot be played: no hit sound").arg(wavPath));
        }
    });
    effect->setLoopCount(QSoundEffect::Infinite);
    effect->setSource(QUrl::fromLocalFile(wavPath));
    effect->play();
    m_effect = effect;
}

void HitSound::stop()
{
    // Deleting the effect closes its stream at the server, which drops what it still holds.
    delete m_effect;
}

bool HitSound::isPlaying() const
{
    return m_effect && m_effect->isPlaying();
}

bool HitSound::isUsable(const QString &wavPath)
{
    QFile file(wavPath);
    if (!file.exists()) {
        m_warning.warn(QStringLiteral("the hit sound %1 is missing: no hit sound").arg(wavPath));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_warning.warn(QStringLiteral("the hit sound %1 cannot be read (%2): no hit sound")
                           .arg(wavPath, file.errorString()));
        return false;
    }
    const QByteArray header = file.read(12);
    if (!header.startsWith("RIFF") || header.mid(8, 4) != "WAVE") {
        m_warning.warn(
            QStringLiteral("the hit sound %1 is not a WAV file: no hit sound").arg(wavPath));
        return false;
    }
    return true;
}
