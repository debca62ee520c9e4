#include "sound/gamesound.h"

#include "model/mediafile.h"
#include "sound/soundlibrary.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

namespace {
// Frames mixed at a time: 46 ms, short enough for a hit sound to start with the press, long
// enough that the mixer's thread wakes only twenty times a second.
constexpr int MixFrames = 2048;
constexpr int SampleRate = 44100; // the renderer's WAV is in the mixer's own format
// Debian's choice among the General MIDI SoundFonts installed.
constexpr char SoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";
// The game's tune renders in about a second; a MIDI file that keeps FluidSynth busy for longer
// than this is given up.
constexpr int RenderTimeoutMs = 20000;
// The renderer's own messages kept: FluidSynth's first few warnings and its reason.
constexpr int MaxLogBytes = 4096;
constexpr int MaxLogLines = 6;

QByteArray fileStamp(const QString &path)
{
    const QFileInfo info(path);
    return QFile::encodeName(path) + '\0' + QByteArray::number(info.size()) + '\0'
        + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\0';
}
} // namespace

GameSound::GameSound(const QString &renderer)
    : m_rendererPath(renderer.isEmpty() ? QCoreApplication::applicationDirPath()
                             + QStringLiteral("/seabattle-tune")
                                        : renderer)
{
    QString why;
    m_library = SoundLibrary::load(&why);
    if (!m_library) {
        warn(QStringLiteral("SDL2_mixer cannot be loaded (%1): no sound").arg(why));
        return;
    }
    const SoundLibrary &sdl = *m_library;
    // SDL would take SIGINT and SIGTERM for an event queue that the game never reads: they
    // must go on ending the game.
    sdl.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool started = sdl.SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    m_mixerOpen = started
        && sdl.Mix_OpenAudioDevice(SampleRate, AUDIO_S16SYS, 2, MixFrames, nullptr, 0) == 0;
    if (!m_mixerOpen) {
        warn(QStringLiteral("no sound output (%1): no sound")
                 .arg(QString::fromUtf8(sdl.SDL_GetError())));
        if (started)
            sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    // SDL2_mixer 2.6 does not tell its device; it is the only one the game opens, the first
    // found playing (SDL numbers its devices from 2, 1 being the legacy one).
    for (SDL_AudioDeviceID id = 1; id < 16 && !m_device; ++id) {
        if (sdl.SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING)
            m_device = id;
    }
    updateDevice();
}

GameSound::~GameSound()
{
    if (m_renderer) {
        m_renderer->disconnect();
        m_renderer->kill();
        m_renderer->waitForFinished(1000);
        delete m_renderer;
        QFile::remove(m_partPath);
    }
    if (!m_mixerOpen)
        return;
    m_library->Mix_HaltChannel(-1);
    m_library->Mix_HaltMusic();
    // The mixer's thread ends in Mix_CloseAudio, before the audio it played is freed.
    m_library->Mix_CloseAudio();
    m_library->Mix_FreeMusic(m_music);
    m_library->Mix_FreeChunk(m_hitChunk);
    m_library->SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void GameSound::openTune()
{
    closeTune();
    QString why;
    const std::optional<QByteArray> midi
        = MediaFile::read(m_tunePath, MediaFile::MaxTuneBytes, &why);
    if (!midi) {
        return warn(
            QStringLiteral("the tune %1 cannot be read (%2): no music").arg(m_tunePath, why));
    }
    if (!midi->startsWith("MThd")) {
        return warn(QStringLiteral("the tune %1 is not a MIDI file: no music").arg(m_tunePath));
    }
    m_tuneOpen = true;
    // The file is read at each "Open"; an unchanged one keeps its rendering (or its failure).
    const QByteArray key = QCryptographicHash::hash(
        *midi + '\0' + fileStamp(QLatin1String(SoundFont)) + fileStamp(m_rendererPath),
        QCryptographicHash::Sha256);
    if (!m_mixerOpen || key == m_tuneKey)
        return;
    m_tuneKey = key;
    m_library->Mix_FreeMusic(m_music);
    m_music = nullptr;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!QDir().mkpath(cache))
        return warn(QStringLiteral("no folder for the rendered tune (%1): no music").arg(cache));
    const QString wavPath = cache + QStringLiteral("/tune-%1.wav").arg(key.toHex().left(32));
    if (QFileInfo(wavPath).isFile() && loadTune(wavPath))
        return;
    QFile::remove(wavPath);
    startRendering(*midi, wavPath);
}

void GameSound::playTune()
{
    if (!m_tuneOpen)
        return;
    m_tunePlaying = true;
    startTuneIfDue();
}

void GameSound::stopTune()
{
    m_tunePlaying = false;
    if (m_mixerOpen)
        m_library->Mix_PauseMusic();
    updateDevice();
}

void GameSound::closeTune()
{
    m_tuneOpen = false;
    m_tunePlaying = false;
    m_tuneStarted = false;
    if (m_mixerOpen)
        m_library->Mix_HaltMusic();
    updateDevice();
}

void GameSound::startHitSound(const QString &wavPath)
{
    stopHitSound();
    QString why;
    const std::optional<QByteArray> wav = MediaFile::read(wavPath, MediaFile::MaxSoundBytes, &why);
    if (!wav) {
        return warn(
            QStringLiteral("the hit sound %1 cannot be read (%2): no hit sound").arg(wavPath, why));
    }
    if (!m_mixerOpen)
        return;
    if (*wav != m_wav) {
        m_library->Mix_FreeChunk(m_hitChunk);
        m_wav = *wav;
        m_hitChunk = m_library->Mix_LoadWAV_RW(
            m_library->SDL_RWFromConstMem(m_wav.constData(), int(m_wav.size())), 1);
        if (!m_hitChunk) {
            warn(QStringLiteral("the hit sound %1 cannot be played (%2): no hit sound")
                     .arg(wavPath, QString::fromUtf8(m_library->SDL_GetError())));
        }
    }
    m_hitPlaying = m_hitChunk != nullptr;
    updateDevice();
    if (m_hitChunk)
        m_library->Mix_PlayChannelTimed(0, m_hitChunk, -1, -1);
}

void GameSound::stopHitSound()
{
    if (m_mixerOpen)
        m_library->Mix_HaltChannel(0);
    m_hitPlaying = false;
    updateDevice();
}

void GameSound::waitForTune()
{
    QProcess *renderer = m_renderer;
    if (renderer && !renderer->waitForFinished(RenderTimeoutMs) && m_renderer == renderer) {
        m_renderTimedOut = true;
        renderer->kill();
        renderer->waitForFinished(1000);
    }
}

void GameSound::startRendering(const QByteArray &midi, const QString &wavPath)
{
    if (m_renderer) {
        m_renderer->disconnect();
        m_renderer->kill();
        m_renderer->waitForFinished(1000);
        m_renderer->deleteLater();
    }
    m_renderer = new QProcess;
    m_wavPath = wavPath;
    m_partPath = wavPath + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    m_rendererLog.clear();
    m_renderTimedOut = false;
    QProcess *renderer = m_renderer;
    renderer->setStandardOutputFile(m_partPath, QIODevice::Truncate);
    QObject::connect(renderer, &QProcess::readyReadStandardError, renderer, [this, renderer] {
        const QByteArray more = renderer->readAllStandardError();
        m_rendererLog += more.left(qMax(0, MaxLogBytes - int(m_rendererLog.size())));
    });
    QObject::connect(renderer, &QProcess::finished, renderer,
                     [this](int code, QProcess::ExitStatus status) {
                         renderingEnded(status == QProcess::CrashExit, code);
                     });
    QObject::connect(
        renderer, &QProcess::errorOccurred, renderer, [this](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart)
                return;
            warn(QStringLiteral("the tune renderer %1 cannot be started (%2): no music")
                     .arg(m_rendererPath, m_renderer->errorString()));
            QFile::remove(m_partPath);
            std::exchange(m_renderer, nullptr)->deleteLater();
        });
    QTimer::singleShot(RenderTimeoutMs, renderer, [this, renderer] {
        m_renderTimedOut = true;
        renderer->kill();
    });
    renderer->start(m_rendererPath, {QLatin1String(SoundFont)});
    renderer->write(midi);
    renderer->closeWriteChannel();
}

void GameSound::renderingEnded(bool crashed, int exitCode)
{
    m_rendererLog += m_renderer->readAllStandardError().left(
        qMax(0, MaxLogBytes - int(m_rendererLog.size())));
    std::exchange(m_renderer, nullptr)->deleteLater();
    const QStringList log = QString::fromLocal8Bit(m_rendererLog).split('\n', Qt::SkipEmptyParts);
    for (const QString &line : log.mid(0, MaxLogLines))
        qCDebug(lcSound).noquote() << "seabattle-tune:" << line.left(200);
    QString why;
    if (m_renderTimedOut)
        why = QStringLiteral("its rendering took over %1 s and was stopped")
                  .arg(RenderTimeoutMs / 1000);
    else if (crashed)
        why = QStringLiteral("the renderer %1 crashed").arg(m_rendererPath);
    else if (exitCode != 0)
        why = log.isEmpty() ? QStringLiteral("the renderer failed (exit code %1)").arg(exitCode)
                            : log.last().left(200);
    const QString wavPath = m_wavPath;
    if (why.isEmpty() && QFile::rename(m_partPath, wavPath) && !loadTune(wavPath)) {
        why = QStringLiteral("its rendering cannot be played (%1)")
                  .arg(QString::fromUtf8(m_library->SDL_GetError()));
    }
    if (!why.isEmpty()) {
        QFile::remove(m_partPath);
        QFile::remove(wavPath);
        return warn(QStringLiteral("the tune %1 stays silent: %2").arg(m_tunePath, why));
    }
    // One rendering is kept: the older ones were made of another tune, SoundFont or renderer.
    const QDir cache = QFileInfo(wavPath).dir();
    for (const QString &old : cache.entryList({QStringLiteral("tune-*.wav")}, QDir::Files)) {
        if (cache.filePath(old) != wavPath)
            QFile::remove(cache.filePath(old));
    }
}

bool GameSound::loadTune(const QString &wavPath)
{
    m_music = m_library->Mix_LoadMUS_RW(
        m_library->SDL_RWFromFile(QFile::encodeName(wavPath).constData(), "rb"), 1);
    startTuneIfDue();
    return m_music != nullptr;
}

void GameSound::startTuneIfDue()
{
    if (!m_tuneOpen || !m_tunePlaying || !m_music)
        return;
    if (m_tuneStarted) {
        m_library->Mix_ResumeMusic();
    } else {
        m_library->Mix_PlayMusic(m_music, 0);
        m_tuneStarted = true;
    }
    updateDevice();
}

void GameSound::updateDevice()
{
    const bool paused = !m_hitPlaying && !(m_tunePlaying && m_tuneStarted);
    if (m_device && paused != m_devicePaused)
        m_library->SDL_PauseAudioDevice(m_device, paused);
    m_devicePaused = paused;
}

void GameSound::warn(const QString &message)
{
    if (!m_said.contains(message))
        qCWarning(lcSound).noquote() << message;
    m_said.insert(message);
}
