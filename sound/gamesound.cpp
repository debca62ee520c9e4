#include "sound/gamesound.h"

#include "model/mediafile.h"
#include "sound/soundlibrary.h"

#include <QLoggingCategory>

#include <malloc.h>

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

// Frames mixed at a time: 46 ms, short enough for a hit sound to start with the press, long
// enough that the mixer's thread wakes only twenty times a second.
static constexpr int MixFrames = 2048;

GameSound::GameSound()
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
    // The exact format asked for (SDL converts if the output wants another), so that the
    // rendered tune can be handed to the mixer as it is.
    m_mixerOpen = started
        && sdl.Mix_OpenAudioDevice(TuneRender::SampleRate, AUDIO_S16SYS, TuneRender::Channels,
                                   MixFrames, nullptr, 0)
            == 0;
    if (!m_mixerOpen) {
        warn(QStringLiteral("no sound output (%1): no sound")
                 .arg(QString::fromUtf8(sdl.SDL_GetError())));
        if (started)
            sdl.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

GameSound::~GameSound()
{
    if (m_mixerOpen)
        m_library->Mix_HaltChannel(-1);
    m_cancel = true;
    if (m_renderer.joinable())
        m_renderer.join();
    if (!m_mixerOpen)
        return;
    // The mixer's thread ends in Mix_CloseAudio, before the audio it played is freed.
    m_library->Mix_CloseAudio();
    m_library->Mix_FreeChunk(m_tuneChunk);
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
    // The file is read at each "Open"; an unchanged one keeps its rendering.
    if (m_mixerOpen && *midi != m_midi)
        startRendering(*midi);
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
        m_library->Mix_Pause(TuneChannel);
}

void GameSound::closeTune()
{
    m_tuneOpen = false;
    m_tunePlaying = false;
    m_tuneStarted = false;
    if (m_mixerOpen)
        m_library->Mix_HaltChannel(TuneChannel);
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
        m_library->Mix_PlayChannelTimed(HitChannel, m_hitChunk, -1, -1);
}

void GameSound::stopHitSound()
{
    if (m_mixerOpen)
        m_library->Mix_HaltChannel(HitChannel);
}

void GameSound::waitForTune()
{
    if (m_renderer.joinable())
        m_renderer.join();
    takeRendering();
}

void GameSound::startRendering(const QByteArray &midi)
{
    m_cancel = true;
    if (m_renderer.joinable())
        m_renderer.join();
    m_cancel = false;
    m_rendered = false;
    // Halts the tune's channel if it plays the chunk; the audio itself belongs to m_tune.
    m_library->Mix_FreeChunk(m_tuneChunk);
    m_tuneChunk = nullptr;
    m_tune = {};
    m_midi = midi;
    m_renderer = std::thread([this, midi] {
        m_rendering = TuneRender::render(*m_library, midi, m_cancel);
        malloc_trim(0); // FluidSynth's freed samples would stay with the game to its end
        m_rendered = true;
        QMetaObject::invokeMethod(
            &m_context, [this] { takeRendering(); }, Qt::QueuedConnection);
    });
}

void GameSound::takeRendering()
{
    if (!m_rendered)
        return; // taken already, or a newer rendering is still running
    if (m_renderer.joinable())
        m_renderer.join();
    m_rendered = false;
    m_tune = std::move(m_rendering);
    for (const QString &line : std::as_const(m_tune.log))
        qCDebug(lcSound).noquote() << "FluidSynth:" << line;
    if (!m_tune.error.isEmpty()) {
        return warn(QStringLiteral("the tune %1 stays silent: %2").arg(m_tunePath, m_tune.error));
    }
    m_tuneChunk
        = m_library->Mix_QuickLoad_RAW(static_cast<Uint8 *>(m_tune.pcm.get()), m_tune.bytes);
    startTuneIfDue();
}

void GameSound::startTuneIfDue()
{
    if (!m_tuneOpen || !m_tunePlaying || !m_tuneChunk)
        return;
    if (m_tuneStarted) {
        m_library->Mix_Resume(TuneChannel);
        return;
    }
    m_library->Mix_PlayChannelTimed(TuneChannel, m_tuneChunk, 0, -1);
    m_tuneStarted = true;
}

void GameSound::warn(const QString &message)
{
    if (!m_said.contains(message))
        qCWarning(lcSound).noquote() << message;
    m_said.insert(message);
}
