// seabattle-tune SOUNDFONT < tune.mid > tune.wav
//
// Renders a MIDI tune with FluidSynth into a WAV of 16-bit stereo PCM at 44.1 kHz, the game's
// mixer format. Standard output must be a regular file: the WAV's sizes are written once the
// tune's end is known. Exits 0 with the WAV written, else 1 with the reason as the last line
// on standard error. FluidSynth's first few warnings come before it.
#include <fluidsynth.h>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 44100;
constexpr int Channels = 2;
constexpr int BytesPerFrame = Channels * 2;
constexpr int BlockFrames = SampleRate / 10;
constexpr long MaxMidiBytes = 4 * 1024 * 1024; // the game reads no larger tune
// A longer tune is cut off here: the game restarts the tune every 52 s.
constexpr long MaxFrames = 300L * SampleRate;
// FluidSynth's default gain of 0.2 leaves a General MIDI tune faint next to the hit sound; at 1.1
// the game's tune peaks about 8 dB below full scale and about 10 dB under the hit sound.
constexpr double Gain = 1.1;
// FluidSynth's player goes on "playing" for seconds after the last note: the WAV ends a
// quarter second after the last sample above this level.
constexpr int SilenceLevel = 4;
constexpr long TailFrames = SampleRate / 4;
// A dense tune makes FluidSynth say the same thing hundreds of thousands of times.
constexpr int MaxLogLines = 5;
constexpr int HeaderBytes = 44;

int logLines = 0;

void logLine(int level, const char *message, void *)
{
    if (level > FLUID_WARN || logLines > MaxLogLines)
        return;
    if (logLines++ < MaxLogLines)
        std::fprintf(stderr, "FluidSynth: %s\n", message);
    else
        std::fputs("FluidSynth: (more left out)\n", stderr);
}

int fail(const char *why)
{
    std::fprintf(stderr, "%s\n", why);
    return 1;
}

void put32(unsigned char *at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = (value >> (8 * i)) & 0xff;
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

bool writeHeader(int fd, std::uint32_t dataBytes)
{
    unsigned char h[HeaderBytes];
    std::memcpy(h, "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\0\0\0\0\0\0\0\0\x04\0\x10\0data",
                40);
    put32(h + 4, 36 + dataBytes);
    put32(h + 24, SampleRate);
    put32(h + 28, SampleRate * BytesPerFrame);
    put32(h + 40, dataBytes);
    return writeAll(fd, h, sizeof h, 0);
}

} // namespace

int main(int argc, char **argv)
{
    // A game that ends, however it ends, takes its rendering with it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
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
    fluid_settings_setnum(settings.get(), "synth.sample-rate", SampleRate);
    fluid_settings_setnum(settings.get(), "synth.gain", Gain);
    // Only the instruments the tune uses are read from the SoundFont, not all of its 140 MB.
    fluid_settings_setint(settings.get(), "synth.dynamic-sample-loading", 1);
    fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> synth(
        new_fluid_synth(settings.get()), delete_fluid_synth);
    if (!synth)
        return fail("FluidSynth could not be started");
    if (fluid_synth_sfload(synth.get(), argv[1], 1) == FLUID_FAILED)
        return fail((std::string("the SoundFont ") + argv[1] + " could not be loaded").c_str());
    std::unique_ptr<fluid_player_t, decltype(&delete_fluid_player)> player(
        new_fluid_player(synth.get()), delete_fluid_player);
    if (!player || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK
        || fluid_player_play(player.get()) != FLUID_OK)
        return fail("FluidSynth cannot read it as MIDI");

    // Written as it is rendered: the whole tune is never held in memory.
    std::vector<std::int16_t> block(size_t(BlockFrames) * Channels);
    long frames = 0;
    long heardFrames = 0; // up to the last frame above the silence level
    while (frames + BlockFrames <= MaxFrames
           && fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING) {
        fluid_synth_write_s16(synth.get(), BlockFrames, block.data(), 0, 2, block.data(), 1, 2);
        for (size_t i = block.size(); i > 0; --i) {
            if (std::abs(block[i - 1]) > SilenceLevel) {
                heardFrames = frames + long((i - 1) / Channels) + 1;
                break;
            }
        }
        if (!writeAll(STDOUT_FILENO, block.data(), block.size() * 2,
                      HeaderBytes + off_t(frames) * BytesPerFrame))
            return fail("the WAV cannot be written");
        frames += BlockFrames;
    }
    if (heardFrames == 0)
        return fail("it holds nothing to play");
    const long kept = std::min(frames, heardFrames + TailFrames);
    const auto dataBytes = std::uint32_t(kept * BytesPerFrame);
    if (ftruncate(STDOUT_FILENO, HeaderBytes + off_t(dataBytes)) != 0
        || !writeHeader(STDOUT_FILENO, dataBytes))
        return fail("the WAV cannot be written");
    return 0;
}
