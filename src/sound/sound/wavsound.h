#pragma once

#include "sound/audiooutput.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A WAV file's sound as it is in the file, with the format the sound server is to play it in:
// the server converts it. PCM of 8, 16, 24 or 32 bits and 32-bit float, in any number of
// channels and at any rate the server takes; a file cut short plays as far as it goes.
namespace WavSound {

struct Sound
{
    AudioOutput::Format format;
    QByteArray samples; // whole frames, little-endian as WAV has them
};

// The sound, or nothing with the reason in *why.
std::optional<Sound> decode(const QByteArray &wav, QString *why);

} // namespace WavSound
