#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>

// Encodes samples as a RIFF WAVE file of 16-bit signed PCM, the only sample format
// every sound backend of the game accepts. Stereo samples are interleaved L, R.
class WavWriter
{
public:
    static QByteArray encode(const QList<std::int16_t> &samples, int sampleRate, int channels);
};
