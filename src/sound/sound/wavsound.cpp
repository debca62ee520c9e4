#include "sound/wavsound.h"

#include <QtEndian>

#include <pulse/sample.h>

#include <algorithm>

namespace {

constexpr quint16 Pcm = 1;
constexpr quint16 Float = 3;
constexpr quint16 Extensible = 0xfffe;

// The server's name for samples of a WAV format tag and size; PA_SAMPLE_INVALID for others.
pa_sample_format_t sampleFormat(quint16 tag, int bits)
{
    if (tag == Float)
        return bits == 32 ? PA_SAMPLE_FLOAT32LE : PA_SAMPLE_INVALID;
    if (tag != Pcm)
        return PA_SAMPLE_INVALID;
    switch (bits) {
    case 8:
        return PA_SAMPLE_U8;
    case 16:
        return PA_SAMPLE_S16LE;
    case 24:
        return PA_SAMPLE_S24LE;
    case 32:
        return PA_SAMPLE_S32LE;
    default:
        return PA_SAMPLE_INVALID;
    }
}

} // namespace

std::optional<WavSound::Sound> WavSound::decode(const QByteArray &wav, QString *why)
{
    const auto *bytes = reinterpret_cast<const uchar *>(wav.constData());
    const qsizetype size = wav.size();
    if (size < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE") {
        *why = QStringLiteral("not a WAV file");
        return std::nullopt;
    }
    quint16 tag = 0;
    int channels = 0;
    quint32 rate = 0; // as in the file: a rate past the server's is named as it is
    int bits = 0;
    qsizetype data = -1;
    qsizetype dataBytes = 0;
    // Chunks follow one another, each padded to an even length.
    for (qsizetype at = 12; at + 8 <= size && data < 0;) {
        const QByteArray id = wav.mid(at, 4);
        const qsizetype length = qFromLittleEndian<quint32>(bytes + at + 4);
        const uchar *field = bytes + at + 8;
        if (id == "fmt " && length >= 16 && at + 8 + 16 <= size) {
            tag = qFromLittleEndian<quint16>(field);
            channels = qFromLittleEndian<quint16>(field + 2);
            rate = qFromLittleEndian<quint32>(field + 4);
            bits = qFromLittleEndian<quint16>(field + 14);
            if (tag == Extensible && length >= 40 && at + 8 + 40 <= size)
                tag = qFromLittleEndian<quint16>(field + 24); // the sub-format's
        } else if (id == "data") {
            data = at + 8;
            dataBytes = std::min(length, size - data); // a file cut short plays as far as it goes
        }
        at += 8 + length + (length & 1);
    }
    if (tag == 0 || data < 0) {
        *why = QStringLiteral("a WAV file without %1").arg(tag == 0 ? "a format" : "sound");
        return std::nullopt;
    }
    const pa_sample_format_t sample = sampleFormat(tag, bits);
    if (sample == PA_SAMPLE_INVALID || channels < 1 || channels > int(PA_CHANNELS_MAX) || rate < 1
        || rate > PA_RATE_MAX) {
        *why = QStringLiteral("WAV format %1 with %2 channels of %3 bits at %4 Hz is not played")
                   .arg(tag)
                   .arg(channels)
                   .arg(bits)
                   .arg(rate);
        return std::nullopt;
    }
    const qsizetype frameBytes = qsizetype(bits / 8) * channels;
    dataBytes -= dataBytes % frameBytes; // an incomplete last frame is left out
    if (dataBytes == 0) {
        *why = QStringLiteral("it holds no sound");
        return std::nullopt;
    }
    return Sound {{sample, int(rate), channels}, wav.mid(data, dataBytes)};
}
