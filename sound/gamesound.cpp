#include "sound/gamesound.h"

#include "sound/hitsound.h"
#include "sound/tuneplayer.h"

#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>

GameSound::GameSound()
    : m_thread(new QThread), m_context(new QObject), m_tune(new TunePlayer), m_hit(new HitSound)
{
    m_thread->setObjectName(QStringLiteral("seabattle-audio"));
    m_context->moveToThread(m_thread);
    m_tune->moveToThread(m_thread);
    m_hit->moveToThread(m_thread);
    m_thread->start();
}

GameSound::~GameSound()
{
    // The players go on their own thread, in one piece of work: no deferred deletion is left
    // to run inside the event processing that Qt's audio sinks do as they are destroyed.
    const bool destroyed = runAndWait([tune = m_tune, hit = m_hit] {
        delete hit;
        delete tune;
    });
    if (!destroyed)
        return; // the thread is stuck inside Qt: it and the players are abandoned
    m_thread->quit();
    if (!m_thread->wait(AnswerTimeoutMs)) {
        m_warning.warn(QStringLiteral("the audio thread does not end: it is abandoned"));
        return;
    }
    delete m_context;
    delete m_thread;
}

void GameSound::setTuneFile(const QString &path)
{
    post([tune = m_tune, path] { tune->setFile(path); });
}

void GameSound::openTune()
{
    post([tune = m_tune] { tune->open(); });
}

void GameSound::playTune()
{
    post([tune = m_tune] { tune->play(); });
}

void GameSound::stopTune()
{
    post([tune = m_tune] { tune->stop(); });
}

void GameSound::closeTune()
{
    post([tune = m_tune] { tune->close(); });
}

void GameSound::startHitSound(const QString &wavPath)
{
    post([hit = m_hit, wavPath] { hit->start(wavPath); });
}

void GameSound::stopHitSound()
{
    post([hit = m_hit] { hit->stop(); });
}

void GameSound::setOutputDevice(const QAudioDevice &device)
{
    post([tune = m_tune, hit = m_hit, device] {
        tune->setOutputDevice(device);
        hit->setOutputDevice(device);
    });
}

void GameSound::setSoundFont(const QString &path)
{
    post([tune = m_tune, path] { tune->setSoundFont(path); });
}

bool GameSound::sync()
{
    return runAndWait([] {});
}

qint64 GameSound::tunePosition()
{
    auto position = std::make_shared<std::atomic<qint64>>(0);
    runAndWait([tune = m_tune, position] { *position = tune->position(); });
    return *position;
}

void GameSound::post(std::function<void()> command)
{
    QMetaObject::invokeMethod(m_context, std::move(command));
}

bool GameSound::runAndWait(std::function<void()> work)
{
    // Shared with the command: a late answer after the wait gave up finds it still alive.
    auto done = std::make_shared<QSemaphore>();
    post([work = std::move(work), done] {
        work();
        done->release();
    });
    if (done->tryAcquire(1, AnswerTimeoutMs))
        return true;
    m_warning.warn(QStringLiteral("the audio thread has not answered for %1 s: its sound may "
                                  "be lost")
                       .arg(AnswerTimeoutMs / 1000));
    return false;
}
