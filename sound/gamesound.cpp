#include "sound/gamesound.h"

#include "model/mediafile.h"
#include "sound/soundlibrary.h"

#include <QFile>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

namespace {
// Frames mixed at a time: 46 ms, short enough for a hit sound to start with the press, long
// enough that the mixer's thread wakes only twenty times a second.
constexpr int MixFrames = 2048;
constexpr int SampleRate = 44100; // the renderer's WAV is in the mixer's own format
} // namespace

GameSound::GameSound(const QString &renderer)
    : m_renderer(
        renderer, [this](const QString &wavPath) { return loadTune(wavPath); },
        [this](const QString &message) { warn(message); })
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
    // The output stays open while nothing plays: mixing its silence costs about 0.35 % of a core.
    m_mixerOpen = started
        && sdl.Mix_OpenAudioDevice(SampleRate, AUDIO_S16SYS, 2, MixFrames, nullptr, 0) == 0;
    if (!m_mixerOpen) {
        warn(QStringLiteral("no sound output (%1): no sound")
                 .arg(QString::fromUtf8(sdl.SDL_GetError())));
        if (started)
            sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

GameSound::~GameSound()
{
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
    if (!midi->startsWith("MThd"))
        return warn(QStringLiteral("the tune %1 is not a MIDI file: no music").arg(m_tunePath));
    m_tuneOpen = true;
    // The file is read at each "Open"; an unchanged one keeps its rendering (or its failure).
    const QByteArray key = m_renderer.keyOf(*midi);
    if (!m_mixerOpen || key == m_tuneKey)
        return;
    m_tuneKey = key;
    m_library->Mix_FreeMusic(m_music);
    m_music = nullptr;
    m_renderer.render(m_tunePath, *midi, key);
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
}

void GameSound::closeTune()
{
    m_tuneOpen = false;
    m_tunePlaying = false;
    m_tuneStarted = false;
    if (m_mixerOpen)
        m_library->Mix_HaltMusic();
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
    if (m_hitChunk)
        m_library->Mix_PlayChannelTimed(0, m_hitChunk, -1, -1);
}

void GameSound::stopHitSound()
{
    if (m_mixerOpen)
        m_library->Mix_HaltChannel(0);
}

QString GameSound::loadTune(const QString &wavPath)
{
    m_music = m_library->Mix_LoadMUS_RW(
        m_library->SDL_RWFromFile(QFile::encodeName(wavPath).constData(), "rb"), 1);
    if (!m_music) {
        return QStringLiteral("its rendering cannot be played (%1)")
            .arg(QString::fromUtf8(m_library->SDL_GetError()));
    }
    startTuneIfDue();
    return {};
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
}

void GameSound::warn(const QString &message)
{
    if (!m_said.contains(message))
        qCWarning(lcSound).noquote() << message;
    m_said.insert(message);
}
