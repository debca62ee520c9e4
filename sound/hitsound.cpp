#include "sound/hitsound.h"

#include "sound/wavcheck.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

HitSound::HitSound(QObject *parent) : QObject(parent) { }

HitSound::~HitSound()
{
    for (QSoundEffect *effect : std::as_const(m_effects))
        effect->stop();
    qDeleteAll(m_effects);
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
    // Qt waits for ever for a stream to an output that has gone away.
    if (!m_device.isNull() && !QMediaDevices::audioOutputs().contains(m_device)) {
        return m_warning.warn(
            QStringLiteral("the audio output %1 is gone: the hit sound is not heard")
                .arg(m_device.description()));
    }
    const QByteArray digest = readPlayable(wavPath);
    if (digest.isEmpty())
        return;
    m_playing = effectFor(wavPath, digest, device);
    m_playing->play();
}

void HitSound::stop()
{
    // Stopping closes the effect's stream at the server, which drops what it still holds.
    if (m_playing)
        m_playing->stop();
    m_playing = nullptr;
}

bool HitSound::isPlaying() const
{
    return m_playing && m_playing->isPlaying();
}

QByteArray HitSound::readPlayable(const QString &wavPath)
{
    QFile file(wavPath);
    if (!file.exists()) {
        m_warning.warn(QStringLiteral("the hit sound %1 is missing: no hit sound").arg(wavPath));
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_warning.warn(QStringLiteral("the hit sound %1 cannot be read (%2): no hit sound")
                           .arg(wavPath, file.errorString()));
        return {};
    }
    // A pipe or a device file has no end to wait for; a regular file is read up to its size.
    const qint64 size = file.isSequential() ? 0 : qMin(file.size(), WavCheck::MaxBytes + 1);
    QByteArray bytes(size, Qt::Uninitialized);
    bytes.resize(qMax<qint64>(0, file.read(bytes.data(), size)));
    const QString problem = WavCheck::problem(bytes);
    if (!problem.isEmpty()) {
        m_warning.warn(QStringLiteral("the hit sound %1 %2: no hit sound").arg(wavPath, problem));
        return {};
    }
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QSoundEffect *HitSound::effectFor(const QString &wavPath, const QByteArray &digest,
                                  const QAudioDevice &device)
{
    Loaded &loaded = m_loaded[wavPath];
    if (loaded.effect && loaded.digest == digest && loaded.device == device)
        return loaded.effect;
    auto *effect = new QSoundEffect(device, this);
    connect(effect, &QSoundEffect::statusChanged, this, [this, effect, wavPath] {
        if (effect->status() == QSoundEffect::Error) {
            m_warning.warn(
                QStringLiteral("the hit sound %1 cannot be played: no hit sound").arg(wavPath));
        }
    });
    effect->setLoopCount(QSoundEffect::Infinite);
    // Qt shares one copy of a sound per address while any effect holds it, so the new bytes of a
    // changed file need an address of their own; the file reader ignores the query.
    QUrl url = QUrl::fromLocalFile(wavPath);
    url.setQuery(QStringLiteral("version=%1").arg(++m_versions));
    effect->setSource(url);
    m_effects.append(effect);
    loaded = {effect, digest, device};
    return effect;
}
