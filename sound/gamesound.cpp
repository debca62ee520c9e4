#include "sound/gamesound.h"

#include "sound/hitsound.h"
#include "sound/tuneplayer.h"

GameSound::GameSound() : m_tune(new TunePlayer), m_hit(new HitSound)
{
    m_thread.setObjectName(QStringLiteral("seabattle-audio"));
    m_tune->moveToThread(&m_thread);
    m_hit->moveToThread(&m_thread);
    m_thread.start();
}

GameSound::~GameSound()
{
    // Deferred deletions run on the audio thread, at the latest as it finishes.
    m_tune->deleteLater();
    m_hit->deleteLater();
    m_thread.quit();
    m_thread.wait();
}

void GameSound::setTuneFile(const QString &path)
{
    QMetaObject::invokeMethod(m_tune, [tune = m_tune, path] { tune->setFile(path); });
}

void GameSound::openTune()
{
    QMetaObject::invokeMethod(m_tune, &TunePlayer::open);
}

void GameSound::playTune()
{
    QMetaObject::invokeMethod(m_tune, &TunePlayer::play);
}

void GameSound::stopTune()
{
    QMetaObject::invokeMethod(m_tune, &TunePlayer::stop);
}

void GameSound::closeTune()
{
    QMetaObject::invokeMethod(m_tune, &TunePlayer::close);
}

void GameSound::startHitSound(const QString &wavPath)
{
    QMetaObject::invokeMethod(m_hit, [hit = m_hit, wavPath] { hit->start(wavPath); });
}

void GameSound::stopHitSound()
{
    QMetaObject::invokeMethod(m_hit, &HitSound::stop);
}

void GameSound::setOutputDevice(const QAudioDevice &device)
{
    QMetaObject::invokeMethod(m_tune, [tune = m_tune, device] { tune->setOutputDevice(device); });
    QMetaObject::invokeMethod(m_hit, [hit = m_hit, device] { hit->setOutputDevice(device); });
}

void GameSound::setSoundFont(const QString &path)
{
    QMetaObject::invokeMethod(m_tune, [tune = m_tune, path] { tune->setSoundFont(path); });
}

void GameSound::sync()
{
    QMetaObject::invokeMethod(
        m_hit, [] {}, Qt::BlockingQueuedConnection);
}

qint64 GameSound::tunePosition()
{
    qint64 position = 0;
    QMetaObject::invokeMethod(
        m_tune, [tune = m_tune, &position] { position = tune->position(); },
        Qt::BlockingQueuedConnection);
    return position;
}
