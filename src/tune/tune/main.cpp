// seabattle-tune SOUNDFONT < tune.mid > tune.wav
//
// Renders a MIDI tune with FluidSynth into the game's WAV (tune/tunewav.h). Standard output must
// be a regular file: the header is written once the tune's end is known. Exit status:
//   0  the WAV is written;
//   1  the tune cannot be played: the reason is the last line on standard error;
//   2  FluidSynth played the tune and nothing was heard;
//   3  the rendering was stopped (SIGTERM, or its CPU time ran out): the WAV holds the tune as far
//      as it was rendered, and the last line on standard error says how far.
// FluidSynth's first few warnings come before the last line. The game starts it so that it
// dies with the game.
#include "tune/tunewav.h"

#include <fluidsynth.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int BlockFrames = TuneWav::SampleRate / 10;
constexpr long MaxMidiBytes = 4 * 1024 * 1024; // the game reads no larger tune
// FluidSynth's default gain of 0.2 leaves a General MIDI tune faint next to the hit sound; at 1.1
// the game's tune peaks about 8 dB below full scale and about 10 dB under the hit sound.
constexpr double Gain = 1.1;
// FluidSynth's player goes on "playing" for seconds after the last note: the WAV ends a
// quarter second after the last sample above this level.
constexpr int SilenceLevel = 4;
constexpr long TailFrames = TuneWav::SampleRate / 4;
// A dense tune makes FluidSynth say the same thing hundreds of thousands of times.
constexpr int MaxLogLines = 5;
volatile std::sig_atomic_t stopRequested = 0; // the signal that asked for it
rlim_t cpuSeconds = TuneWav::CpuSeconds;
int logLines = 0;
std::string firstError;

void requestStop(int signal)
{
    stopRequested = signal;
}

void logLine(int level, const char *message, void *)
{
    if (level <= FLUID_ERR && firstError.empty())
        firstError = message;
    if (level > FLUID_WARN || logLines > MaxLogLines)
        return;
    if (logLines++ < MaxLogLines)
        std::fprintf(stderr, "FluidSynth: %s\n", message);
    else
        std::fputs("FluidSynth: (more left out)\n", stderr);
}

int fail(const std::string &why, int status = 1)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    return status;
}

bool writeAll(int fd, const void *data, size_t bytes, off_t offset)
{
    const auto *bytePtr = static_cast<const char *>(data);
    while (bytes > 0) {
        const ssize_t written = pwrite(fd, bytePtr, bytes, offset);
        if (written <= 0)
            return false;
        bytePtr += written;
        offset += written;
        bytes -= size_t(written);
    }
    return true;
}

// FluidSynth loads an instrument's samples when a channel selects it, and a reset (at start, or
// by a "General MIDI on" message) selects the piano on every channel: some 10 MB for channels
// that may never play it. Each channel's program is therefore selected at its first note.
class LazyPrograms
{
public:
    static constexpr int Channels = 16;

    explicit LazyPrograms(fluid_synth_t *synth) : m_synth(synth)
    {
        std::fill_n(m_pending, Channels, 0);
    }

    static int play(void *data, fluid_midi_event_t *event)
    {
        return static_cast<LazyPrograms *>(data)->handle(event);
    }
    long events() const { return m_events; }

private:
    enum { NoteOn = 0x90, ProgramChange = 0xc0, SystemExclusive = 0xf0 };

    int handle(fluid_midi_event_t *event)
    {
        ++m_events;
        const int channel = fluid_midi_event_get_channel(event);
        const int type = fluid_midi_event_get_type(event);
        const bool ours = channel >= 0 && channel < Channels;
        if (ours && type == ProgramChange) {
            m_pending[channel] = fluid_midi_event_get_program(event);
            return FLUID_OK;
        }
        if (ours && type == NoteOn && fluid_midi_event_get_velocity(event) > 0
            && m_pending[channel] >= 0)
            fluid_synth_program_change(m_synth, channel, std::exchange(m_pending[channel], -1));
        const int result = fluid_synth_handle_midi_event(m_synth, event);
        if (type == SystemExclusive)
            deferSelected();
        return result;
    }

    void deferSelected()
    {
        for (int channel = 0; channel < Channels; ++channel) {
            int font = 0, bank = 0, program = 0;
            if (fluid_synth_get_program(m_synth, channel, &font, &bank, &program) == FLUID_OK
                && program < 128) {
                m_pending[channel] = program;
                fluid_synth_unset_program(m_synth, channel);
            }
        }
    }

    fluid_synth_t *m_synth;
    int m_pending[Channels]; // the program to select at the next note, or -1
    long m_events = 0;
};

void limitCpuTime()
{
    if (const char *set = std::getenv("SEABATTLE_TUNE_CPU_SECONDS"))
        cpuSeconds = rlim_t(std::max(1, std::atoi(set)));
    // SIGXCPU at the soft limit stops the rendering; the hard limit leaves time to end the WAV.
    const rlimit limit {cpuSeconds, cpuSeconds + 10};
    setrlimit(RLIMIT_CPU, &limit);
    std::signal(SIGXCPU, requestStop);
    std::signal(SIGTERM, requestStop);
}

} // namespace

int main(int argc, char **argv)
{
    limitCpuTime();
    if (argc != 2)
        return fail("usage: seabattle-tune SOUNDFONT < tune.mid > tune.wav");
    struct stat out;
    if (fstat(STDOUT_FILENO, &out) != 0 || !S_ISREG(out.st_mode))
        return fail("standard output is not a regular file");
    std::vector<char> midi;
    char buffer[65536];
    for (ssize_t got; (got = read(STDIN_FILENO, buffer, sizeof buffer)) != 0;) {
        if (got < 0 || long(midi.size()) + got > MaxMidiBytes)
            return fail("the MIDI data cannot be read or is too large");
        midi.insert(midi.end(), buffer, buffer + got);
    }
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, logLine, nullptr);

    std::unique_ptr<fluid_settings_t, decltype(&delete_fluid_settings)> settings(
        new_fluid_settings(), delete_fluid_settings);
    fluid_settings_setnum(settings.get(), "synth.sample-rate", TuneWav::SampleRate);
    fluid_settings_setnum(settings.get(), "synth.gain", Gain);
    // Only the instruments the tune uses are read from the SoundFont, not all of its 140 MB.
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    // Rendering ahead of time needs no samples pinned in memory (a user may pin only 64 KB).
    fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
    fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    fluid_settings_setint(settings.get(), "player.reset-synth", 0); // the synthesiser is new
    std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> synth(
        new_fluid_synth(settings.get()), delete_fluid_synth);
    if (!synth)
        return fail("FluidSynth could not be started");
    if (fluid_synth_sfload(synth.get(), argv[1], 0) == FLUID_FAILED)
        return fail(std::string("the SoundFont ") + argv[1] + " could not be loaded");
    std::unique_ptr<fluid_player_t, decltype(&delete_fluid_player)> player(
        new_fluid_player(synth.get()), delete_fluid_player);
    LazyPrograms programs(synth.get());
    if (!player
        || fluid_player_set_playback_callback(player.get(), LazyPrograms::play, &programs)
            != FLUID_OK
        || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK
        || fluid_player_play(player.get()) != FLUID_OK)
        return fail("FluidSynth cannot read it as MIDI");

    // Written as it is rendered: the whole tune is never held in memory.
    std::vector<std::int16_t> block(size_t(BlockFrames) * TuneWav::Channels);
    long frames = 0;
    long heardFrames = 0; // up to the last frame above the silence level
    while (!stopRequested && frames + BlockFrames <= TuneWav::MaxFrames
           && fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING) {
        fluid_synth_write_s16(synth.get(), BlockFrames, block.data(), 0, 2, block.data(), 1, 2);
        for (size_t i = block.size(); i > 0; --i) {
            if (std::abs(block[i - 1]) > SilenceLevel) {
                heardFrames = frames + long((i - 1) / TuneWav::Channels) + 1;
                break;
            }
        }
        TuneWav::toLittleEndian(block.data(), block.size());
        if (!writeAll(STDOUT_FILENO, block.data(), block.size() * 2,
                      TuneWav::HeaderBytes + off_t(frames) * TuneWav::BytesPerFrame))
            return fail("the WAV cannot be written");
        frames += BlockFrames;
    }
    const int stopped = stopRequested;
    if (heardFrames == 0) {
        if (stopped)
            return fail("its rendering was stopped before a note was heard");
        // A file FluidSynth refuses (one of over 127 tracks, say) gives the player no event.
        if (programs.events() == 0) {
            return fail("FluidSynth plays none of its events"
                        + (firstError.empty() ? std::string() : " (" + firstError + ")"));
        }
        return fail("it holds nothing to play", 2);
    }
    const long kept = std::min(frames, heardFrames + TailFrames);
    const auto dataBytes = std::uint32_t(kept * TuneWav::BytesPerFrame);
    const TuneWav::Header header = TuneWav::header(dataBytes);
    if (ftruncate(STDOUT_FILENO, TuneWav::HeaderBytes + off_t(dataBytes)) != 0
        || !writeAll(STDOUT_FILENO, header.data(), header.size(), 0))
        return fail("the WAV cannot be written");
    if (stopped == SIGXCPU) {
        std::fprintf(stderr, "its rendering used up its %ld s of CPU time at %.1f s of the tune\n",
                     long(cpuSeconds), double(kept) / TuneWav::SampleRate);
    } else if (stopped) {
        std::fprintf(stderr, "its rendering was stopped at %.1f s of the tune\n",
                     double(kept) / TuneWav::SampleRate);
    }
    return stopped ? 3 : 0;
}
