#include "sound/tunerendering.h"

#include "sound/fluidsynth.h"
#include "sound/midilength.h"
#include "sound/soundlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>

namespace {

constexpr int BlockFrames = TuneRendering::SampleRate / 10;
// FluidSynth's default gain of 0.2 leaves a General MIDI tune faint next to the hit sound; at 1.1
// the game's tune peaks about 8 dB below full scale, far from clipping, and about 10 dB under
// the hit sound.
constexpr double Gain = 1.1;
// The reverb rings on after the last note; a quarter second under this level ends the tune, and
// it is cut off two and a half seconds after the last note in any case.
constexpr int SilenceLevel = 4;
constexpr int SilentFramesToEnd = TuneRendering::SampleRate / 4;
constexpr int MaxTailFrames = TuneRendering::SampleRate * 5 / 2;

// FluidSynth speaks for itself on stderr; its words go to the debug channel instead, and the
// player gives the one warning that names the file.
void forwardFluidLog(int, const char *message, void *)
{
    qCDebug(lcSound) << "fluidsynth:" << message;
}

void routeFluidLog(const FluidSynth &fluid)
{
    static std::once_flag once;
    std::call_once(once, [&fluid] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN})
            fluid.setLogFunction(level, forwardFluidLog, nullptr);
        for (int level : {FLUID_INFO, FLUID_DBG})
            fluid.setLogFunction(level, nullptr, nullptr);
    });
}

// FluidSynth hands anything that is not a SoundFont to a DLS loader, which complains on stderr.
bool isSoundFont(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(12);
    return header.startsWith("RIFF") && header.mid(8, 4) == "sfbk";
}

bool isSilent(const qint16 *samples, int count)
{
    for (int i = 0; i < count; ++i) {
        if (std::abs(samples[i]) > SilenceLevel)
            return false;
    }
    return true;
}

} // namespace

TuneRendering::TuneRendering(const QByteArray &midi, const QString &soundFont)
    : m_midi(midi), m_soundFont(soundFont)
{ }

TuneRendering::~TuneRendering()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

void TuneRendering::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { render(); });
}

QString TuneRendering::soundFontFolder()
{
    return QStringLiteral("/usr/share/sounds/sf2");
}

QString TuneRendering::defaultSoundFont()
{
    const QDir folder(soundFontFolder());
    for (const char *name : {"FluidR3_GM.sf2", "default-GM.sf2"}) {
        const QFileInfo file(folder.filePath(QLatin1String(name)));
        if (file.isReadable())
            return file.absoluteFilePath();
    }
    const QFileInfoList any
        = folder.entryInfoList({QStringLiteral("*.sf2")}, QDir::Files | QDir::Readable, QDir::Name);
    return any.isEmpty() ? QString() : any.first().absoluteFilePath();
}

void TuneRendering::render()
{
    const QString problem = synthesize();
#ifdef __GLIBC__
    // FluidSynth leaves megabytes of SoundFont samples and voices in malloc's free lists, which
    // would stay with the game for as long as it runs.
    malloc_trim(0);
#endif
    if (m_cancel)
        return;
    if (!problem.isEmpty())
        return fail(problem);
    m_finished = true;
    if (!m_ready.exchange(true))
        emit readyToPlay();
}

QString TuneRendering::synthesize()
{
    QString error;
    const FluidSynth *fluid = FluidSynth::load(&error);
    if (!fluid)
        return QStringLiteral("FluidSynth cannot be loaded (%1)").arg(error);
    routeFluidLog(*fluid);
    std::unique_ptr<fluid_settings_t, decltype(fluid->deleteSettings)> settings(
        fluid->newSettings(), fluid->deleteSettings);
    fluid->setNum(settings.get(), "synth.sample-rate", SampleRate);
    fluid->setNum(settings.get(), "synth.gain", Gain);
    fluid->setInt(settings.get(), "synth.reverb.active", 1);
    fluid->setInt(settings.get(), "synth.chorus.active", 1);
    // Only the instruments the tune uses are read from the SoundFont, not all of its 140 MB.
    fluid->setInt(settings.get(), "synth.dynamic-sample-loading", 1);
    fluid->setStr(settings.get(), "player.timing-source", "sample");
    std::unique_ptr<fluid_synth_t, decltype(fluid->deleteSynth)> synth(
        fluid->newSynth(settings.get()), fluid->deleteSynth);
    if (!synth)
        return QStringLiteral("the synthesizer could not be created");
    if (!isSoundFont(m_soundFont)
        || fluid->loadSoundFont(synth.get(), QFile::encodeName(m_soundFont).constData(), 1)
            == FLUID_FAILED)
        return QStringLiteral("the SoundFont %1 could not be loaded").arg(m_soundFont);
    std::unique_ptr<fluid_player_t, decltype(fluid->deletePlayer)> player(
        fluid->newPlayer(synth.get()), fluid->deletePlayer);
    if (!player || fluid->addMidi(player.get(), m_midi.constData(), m_midi.size()) != FLUID_OK
        || fluid->play(player.get()) != FLUID_OK)
        return QStringLiteral("the tune could not be read as MIDI");

    // FluidSynth's player goes on "playing" for many seconds after the last note, so the end
    // is taken from the file where it can be read there.
    const qint64 lastEventMs = MidiLength::lastEventMs(m_midi);
    qint64 endFrame = lastEventMs < 0 ? -1 : lastEventMs * SampleRate / 1000;
    {
        const qint64 expected = endFrame < 0 ? 60LL * SampleRate : endFrame + MaxTailFrames;
        const std::lock_guard lock(m_mutex);
        m_pcm.reserve(qMin(expected * BytesPerFrame, MaxBytes));
    }
    std::vector<qint16> block(BlockFrames * Channels);
    bool heardAnything = false;
    int silentFrames = 0;
    for (qint64 frame = 0; !m_cancel && (frame + BlockFrames) * BytesPerFrame <= MaxBytes;) {
        if (endFrame < 0 && fluid->playerStatus(player.get()) != FLUID_PLAYER_PLAYING)
            endFrame = frame;
        const bool ended = endFrame >= 0 && frame >= endFrame;
        if (ended && (silentFrames >= SilentFramesToEnd || frame >= endFrame + MaxTailFrames))
            break;
        const int frames = ended ? int(qMin<qint64>(BlockFrames, endFrame + MaxTailFrames - frame))
                                 : BlockFrames;
        fluid->writeS16(synth.get(), frames, block.data(), 0, 2, block.data(), 1, 2);
        const bool silent = isSilent(block.data(), frames * Channels);
        heardAnything = heardAnything || !silent;
        m_heard = heardAnything;
        silentFrames = silent ? silentFrames + frames : 0;
        append(reinterpret_cast<const char *>(block.data()), qint64(frames) * BytesPerFrame);
        frame += frames;
    }
    if (!m_cancel && !heardAnything)
        return QStringLiteral("the tune holds nothing to play");
    return {};
}

void TuneRendering::fail(const QString &reason)
{
    m_failed = true;
    m_finished = true;
    emit failed(reason);
}

void TuneRendering::append(const char *data, qint64 size)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pcm.append(data, size);
        m_rendered = m_pcm.size();
    }
    // Leading silence is no reason to start: a tune that turns out to be empty is never played.
    if (m_heard && m_rendered >= LeadBytes && !m_ready.exchange(true))
        emit readyToPlay();
}

qint64 TuneRendering::read(qint64 offset, char *data, qint64 maxSize) const
{
    const std::lock_guard lock(m_mutex);
    const qint64 count = qBound<qint64>(0, m_pcm.size() - offset, maxSize);
    if (count > 0)
        memcpy(data, m_pcm.constData() + offset, size_t(count));
    return count;
}

qint64 TuneRendering::renderedBytes() const
{
    return m_rendered;
}

bool TuneRendering::isReadyToPlay() const
{
    return m_ready && !m_failed;
}

bool TuneRendering::isFinished() const
{
    return m_finished;
}

bool TuneRendering::hasFailed() const
{
    return m_failed;
}
