// seabattle-tune SOUNDFONT < tune.mid > tune.wav
//
// Renders a MIDI tune with FluidSynth into the game's WAV (tune/tunewav.h). Standard output must
// be a regular file: the header is written once the tune's end is known. Exit status:
//   0  the WAV is written;
//   1  the tune cannot be played: the reason is the last line on standard error;
//   2  FluidSynth played the tune and nothing was heard;
//   3  the rendering was stopped (SIGTERM, or its CPU time ran out): the WAV holds the tune as far
//      as it was rendered, and the last line on standard error says how far.
// The game sets its limits of CPU time and file size, and has it die with the game.
#include "tune/tunewav.h"

#include <fluidsynth.h>

#include <sys/resource.h>
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
int logLines = 0;
std::string firstError;
// FluidSynth loads an instrument's samples when a channel selects it, and a reset (at start, or
// by a "General MIDI on" message) selects the piano on every channel: some 10 MB for channels
// that may never play it. Each channel's program is therefore selected at its first note.
constexpr int Channels = 16;
fluid_synth_t *synth = nullptr;
int pendingProgram[Channels] = {}; // the program to select at the next note, or -1
long events = 0;
enum { NoteOn = 0x90, ProgramChange = 0xc0, SystemExclusive = 0xf0 };

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

bool writeAt(const void *data, size_t bytes, off_t offset)
{
    return pwrite(STDOUT_FILENO, data, bytes, offset) == ssize_t(bytes);
}

int playEvent(void *, fluid_midi_event_t *event)
{
    ++events;
    const int channel = fluid_midi_event_get_channel(event);
    const int type = fluid_midi_event_get_type(event);
    const bool ours = channel >= 0 && channel < Channels;
    if (ours && type == ProgramChange) {
        pendingProgram[channel] = fluid_midi_event_get_program(event);
        return FLUID_OK;
    }
    if (ours && type == NoteOn && fluid_midi_event_get_velocity(event) > 0
        && pendingProgram[channel] >= 0)
        fluid_synth_program_change(synth, channel, std::exchange(pendingProgram[channel], -1));
    const int result = fluid_synth_handle_midi_event(synth, event);
    for (int c = 0; type == SystemExclusive && c < Channels; ++c) {
        int font = 0, bank = 0, program = 0;
        if (fluid_synth_get_program(synth, c, &font, &bank, &program) == FLUID_OK
            && program < 128) {
            pendingProgram[c] = program;
            fluid_synth_unset_program(synth, c);
        }
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    // SIGXCPU at the soft limit the game set stops the rendering; the hard limit leaves time to
    // end the WAV.
    std::signal(SIGXCPU, requestStop);
    std::signal(SIGTERM, requestStop);
    rlimit cpu {}; // read now: the kernel raises the soft limit at each SIGXCPU
    getrlimit(RLIMIT_CPU, &cpu);
    if (argc != 2)
        return fail("usage: seabattle-tune SOUNDFONT < tune.mid > tune.wav");
    std::vector<char> midi;
    char buffer[65536];
    for (ssize_t got; (got = read(STDIN_FILENO, buffer, sizeof buffer)) != 0;) {
        if (got < 0)
            return fail("the MIDI data cannot be read");
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
    std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> owner(
        synth = new_fluid_synth(settings.get()), delete_fluid_synth);
    if (!synth)
        return fail("FluidSynth could not be started");
    if (fluid_synth_sfload(synth, argv[1], 0) == FLUID_FAILED)
        return fail(std::string("the SoundFont ") + argv[1] + " could not be loaded");
    std::unique_ptr<fluid_player_t, decltype(&delete_fluid_player)> player(new_fluid_player(synth),
                                                                           delete_fluid_player);
    if (!player || fluid_player_set_playback_callback(player.get(), playEvent, nullptr) != FLUID_OK
        || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK
        || fluid_player_play(player.get()) != FLUID_OK)
        return fail("FluidSynth cannot read it as MIDI");

    // Written as it is rendered: the whole tune is never held in memory.
    std::vector<std::int16_t> block(size_t(BlockFrames) * TuneWav::Channels);
    long frames = 0;
    long heardFrames = 0; // up to the last frame above the silence level
    while (!stopRequested && frames + BlockFrames <= TuneWav::MaxFrames
           && fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING) {
        fluid_synth_write_s16(synth, BlockFrames, block.data(), 0, 2, block.data(), 1, 2);
        for (size_t i = block.size(); i > 0; --i) {
            if (std::abs(block[i - 1]) > SilenceLevel) {
                heardFrames = frames + long((i - 1) / TuneWav::Channels) + 1;
                break;
            }
        }
        TuneWav::toLittleEndian(block.data(), block.size());
        if (!writeAt(block.data(), block.size() * 2,
                     TuneWav::HeaderBytes + off_t(frames) * TuneWav::BytesPerFrame))
            return fail("the WAV cannot be written");
        frames += BlockFrames;
    }
    const int stopped = stopRequested;
    if (heardFrames == 0) {
        if (stopped)
            return fail("its rendering was stopped before a note was heard");
        // A file FluidSynth refuses (one of over 127 tracks, say) gives the player no event.
        if (events == 0) {
            return fail("FluidSynth plays none of its events"
                        + (firstError.empty() ? std::string() : " (" + firstError + ")"));
        }
        return fail("it holds nothing to play", 2);
    }
    const long kept = std::min(frames, heardFrames + TailFrames);
    const auto dataBytes = std::uint32_t(kept * TuneWav::BytesPerFrame);
    const TuneWav::Header header = TuneWav::header(dataBytes);
    if (ftruncate(STDOUT_FILENO, TuneWav::HeaderBytes + off_t(dataBytes)) != 0
        || !writeAt(header.data(), header.size(), 0))
        return fail("the WAV cannot be written");
    if (stopped == SIGXCPU) {
        std::fprintf(stderr, "its rendering used up its %ld s of CPU time at %.1f s of the tune\n",
                     long(cpu.rlim_cur), double(kept) / TuneWav::SampleRate);
    } else if (stopped) {
        std::fprintf(stderr, "its rendering was stopped at %.1f s of the tune\n",
                     double(kept) / TuneWav::SampleRate);
    }
    return stopped ? 3 : 0;
}
