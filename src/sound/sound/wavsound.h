#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A WAV file's sound in the game's output format, 16-bit stereo at 44.1 kHz: the hit sound. PCM
// of 8, 16, 24 or 32 bits and 32-bit float, in any number of channels (the first two are played)
// and at any rate, is converted; a file cut short plays as far as it goes.
namespace WavSound {

using Frames = std::vector<std::int16_t>; // left and right, frame after frame

// The sound, or nothing with the reason in *why.
std::optional<Frames> decode(const QByteArray &wav, QString *why);

} // namespace WavSound
