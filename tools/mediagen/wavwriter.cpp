#include "wavwriter.h"

#include "bytewriter.h"

QByteArray WavWriter::encode(const QList<std::int16_t> &samples, int sampleRate, int channels)
{
    const std::uint32_t dataBytes = std::uint32_t(samples.size()) * 2;
    const std::uint16_t blockAlign = std::uint16_t(channels * 2);

    ByteWriter out;
    out.text("RIFF");
    out.u32le(4 + (8 + 16) + (8 + dataBytes));
    out.text("WAVE");

    out.text("fmt ");
    out.u32le(16);
    out.u16le(1); // PCM
    out.u16le(std::uint16_t(channels));
    out.u32le(std::uint32_t(sampleRate));
    out.u32le(std::uint32_t(sampleRate) * blockAlign);
    out.u16le(blockAlign);
    out.u16le(16);

    out.text("data");
    out.u32le(dataBytes);
    for (std::int16_t sample : samples)
        out.i16le(sample);
    return out.bytes();
}
