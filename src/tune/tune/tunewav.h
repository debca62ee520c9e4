#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

// The tune's WAV as seabattle-tune writes it and the game plays it: 16-bit stereo PCM at 44.1 kHz,
// the game's output format, behind the plain 44-byte header. A cached file is taken only when its
// header is exactly this one for its size, so a file cut short or made by anything else is
// rendered again.
namespace TuneWav {

constexpr int SampleRate = 44100;
constexpr int Channels = 2;
constexpr int BytesPerFrame = 2 * Channels;
constexpr int HeaderBytes = 44;
// A longer tune is cut off here: the game restarts its tune every 52 s.
constexpr long MaxFrames = 300L * SampleRate;
constexpr long MaxDataBytes = MaxFrames * BytesPerFrame;

using Header = std::array<unsigned char, HeaderBytes>;

constexpr Header header(std::uint32_t dataBytes)
{
    Header h {};
    const char fixed[] = "RIFF....WAVEfmt ....ppcc....bbbbaass";
    for (int i = 0; i < 36; ++i)
        h[i] = static_cast<unsigned char>(fixed[i]);
    auto put = [&h](int at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            h[at + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xff);
    };
    put(4, 36 + dataBytes, 4);
    put(16, 16, 4); // the format chunk's size
    put(20, 1, 2); // PCM
    put(22, Channels, 2);
    put(24, SampleRate, 4);
    put(28, SampleRate * BytesPerFrame, 4);
    put(32, BytesPerFrame, 2);
    put(34, 16, 2); // bits per sample
    h[36] = 'd';
    h[37] = 'a';
    h[38] = 't';
    h[39] = 'a';
    put(40, dataBytes, 4);
    return h;
}

// Puts samples of this machine's byte order in the file's, little-endian.
inline void toLittleEndian(std::int16_t *samples, std::size_t count)
{
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < count; ++i)
            samples[i]
                = std::int16_t(std::uint16_t(samples[i]) >> 8 | std::uint16_t(samples[i]) << 8);
    }
}

} // namespace TuneWav
