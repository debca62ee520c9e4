#include "sound/tunerender.h"

#include "sound/soundlibrary.h"

#include <QFileInfo>

#include <mutex>

namespace {

constexpr int BytesPerFrame = TuneRender::Channels * 2;
constexpr int BlockFrames = TuneRender::SampleRate / 10;
// Debian's choice among the General MIDI SoundFonts installed.
constexpr char SoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";
constexpr qint64 MaxFrames = qint64(TuneRender::MaxSeconds) * TuneRender::SampleRate;
// FluidSynth's default gain of 0.2 leaves a General MIDI tune faint next to the hit sound; at 1.1
// the game's tune peaks about 8 dB below full scale and about 10 dB under the hit sound.
constexpr double Gain = 1.1;
// FluidSynth's player goes on "playing" for seconds after the last note: the rendering ends a
// quarter second after the last sample above this level.
constexpr int SilenceLevel = 4;
constexpr qint64 TailFrames = TuneRender::SampleRate / 4;
// A dense tune makes FluidSynth say the same thing hundreds of thousands of times, so only the
// first few warnings and errors are kept; its chatter about presets and drivers is dropped.
constexpr int MaxLogLines = 5;

thread_local QStringList *renderLog = nullptr;

void keepLogLine(int level, const char *message, void *)
{
    if (level > FLUID_WARN || !renderLog || renderLog->size() > MaxLogLines)
        return;
    renderLog->append(renderLog->size() < MaxLogLines ? QString::fromLocal8Bit(message)
                                                      : QStringLiteral("(more left out)"));
}

} // namespace

TuneRender::Result TuneRender::render(const SoundLibrary &fluid, const QByteArray &midi,
                                      const std::atomic<bool> &cancel)
{
    static std::once_flag logRouted;
    std::call_once(logRouted, [&fluid] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid.fluid_set_log_function(level, keepLogLine, nullptr);
    });
    Result result;
    renderLog = &result.log;
    const auto fail = [&result](const QString &why) {
        renderLog = nullptr;
        result.pcm.reset();
        result.error = why;
        return std::move(result);
    };
    if (!QFileInfo(QLatin1String(SoundFont)).isFile())
        return fail(QStringLiteral("the General MIDI SoundFont %1 is missing").arg(SoundFont));

    std::unique_ptr<fluid_settings_t, decltype(fluid.delete_fluid_settings)> settings(
        fluid.new_fluid_settings(), fluid.delete_fluid_settings);
    fluid.fluid_settings_setnum(settings.get(), "synth.sample-rate", SampleRate);
    fluid.fluid_settings_setnum(settings.get(), "synth.gain", Gain);
    // Only the instruments the tune uses are read from the SoundFont, not all of its 140 MB.
    fluid.fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    fluid.fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    std::unique_ptr<fluid_synth_t, decltype(fluid.delete_fluid_synth)> synth(
        fluid.new_fluid_synth(settings.get()), fluid.delete_fluid_synth);
    if (!synth)
        return fail(QStringLiteral("FluidSynth could not be started"));
    if (fluid.fluid_synth_sfload(synth.get(), SoundFont, 1) == FLUID_FAILED)
        return fail(QStringLiteral("the SoundFont %1 could not be loaded").arg(SoundFont));
    std::unique_ptr<fluid_player_t, decltype(fluid.delete_fluid_player)> player(
        fluid.new_fluid_player(synth.get()), fluid.delete_fluid_player);
    if (!player
        || fluid.fluid_player_add_mem(player.get(), midi.constData(), midi.size()) != FLUID_OK
        || fluid.fluid_player_play(player.get()) != FLUID_OK)
        return fail(QStringLiteral("FluidSynth cannot read it as MIDI"));

    // Room for the longest tune, taken from the system as address space only (glibc maps a
    // block this large on its own): only what is rendered becomes memory, and the realloc()
    // at the end hands back the rest without copying.
    result.pcm.reset(std::malloc(size_t(MaxFrames) * BytesPerFrame));
    auto *samples = static_cast<qint16 *>(result.pcm.get());
    if (!samples)
        return fail(QStringLiteral("no memory for it"));
    qint64 frames = 0;
    while (frames + BlockFrames <= MaxFrames && !cancel
           && fluid.fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING) {
        qint16 *block = samples + frames * Channels;
        fluid.fluid_synth_write_s16(synth.get(), BlockFrames, block, 0, 2, block, 1, 2);
        frames += BlockFrames;
    }
    if (cancel)
        return fail(QStringLiteral("cancelled"));
    qint64 heard = frames * Channels; // samples up to the last one above the silence level
    while (heard > 0 && std::abs(samples[heard - 1]) <= SilenceLevel)
        --heard;
    if (heard == 0)
        return fail(QStringLiteral("it holds nothing to play"));
    result.bytes = quint32(qMin(frames, heard / Channels + TailFrames) * BytesPerFrame);
    if (void *trimmed = std::realloc(samples, result.bytes)) {
        (void)result.pcm.release();
        result.pcm.reset(trimmed);
    }
    renderLog = nullptr;
    return result;
}
