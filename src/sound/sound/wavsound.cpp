#include "sound/wavsound.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace {

constexpr int OutputRate = 44100;
// The hit sound is cut off within two seconds: a longer one is kept up to this length.
constexpr qint64 MaxOutputFrames = 30LL * OutputRate;
constexpr quint16 Pcm = 1;
constexpr quint16 Float = 3;
constexpr quint16 Extensible = 0xfffe;

struct Format
{
    quint16 tag = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

// One sample of any format, as a 16-bit value.
int sampleAt(const uchar *at, const Format &format)
{
    switch (format.bits) {
    case 8:
        return (int(at[0]) - 128) * 256;
    case 16:
        return qFromLittleEndian<qint16>(at);
    case 24:
        return int(quint32(at[0]) << 8 | quint32(at[1]) << 16 | quint32(at[2]) << 24) >> 16;
    default:
        if (format.tag == Float) {
            const float value = qFromLittleEndian<float>(at);
            return std::isfinite(value) ? int(std::clamp(value, -1.0f, 1.0f) * 32767.0f) : 0;
        }
        return qFromLittleEndian<qint32>(at) >> 16;
    }
}

bool isPlayable(const Format &format)
{
    const bool pcm = format.tag == Pcm
        && (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
    const bool floating = format.tag == Float && format.bits == 32;
    return (pcm || floating) && format.channels >= 1 && format.channels <= 16 && format.rate >= 1000
        && format.rate <= 384000;
}

} // namespace

std::optional<WavSound::Frames> WavSound::decode(const QByteArray &wav, QString *why)
{
    const auto *bytes = reinterpret_cast<const uchar *>(wav.constData());
    const qsizetype size = wav.size();
    if (size < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE") {
        *why = QStringLiteral("not a WAV file");
        return std::nullopt;
    }
    Format format;
    qsizetype data = -1;
    qsizetype dataBytes = 0;
    // Chunks follow one another, each padded to an even length.
    for (qsizetype at = 12; at + 8 <= size && data < 0;) {
        const QByteArray id = wav.mid(at, 4);
        const qsizetype length = qFromLittleEndian<quint32>(bytes + at + 4);
        if (id == "fmt " && length >= 16 && at + 8 + 16 <= size) {
            const uchar *field = bytes + at + 8;
            format = {qFromLittleEndian<quint16>(field), qFromLittleEndian<quint16>(field + 2),
                      int(qFromLittleEndian<quint32>(field + 4)),
                      qFromLittleEndian<quint16>(field + 14)};
            if (format.tag == Extensible && length >= 40 && at + 8 + 40 <= size)
                format.tag = qFromLittleEndian<quint16>(field + 24); // the sub-format's
        } else if (id == "data") {
            data = at + 8;
            dataBytes = std::min(length, size - data); // a file cut short plays as far as it goes
        }
        at += 8 + length + (length & 1);
    }
    if (format.tag == 0 || data < 0) {
        *why = QStringLiteral("a WAV file without %1").arg(format.tag == 0 ? "a format" : "sound");
        return std::nullopt;
    }
    if (!isPlayable(format)) {
        *why = QStringLiteral("WAV format %1 with %2 channels of %3 bits at %4 Hz is not played")
                   .arg(format.tag)
                   .arg(format.channels)
                   .arg(format.bits)
                   .arg(format.rate);
        return std::nullopt;
    }
    const int sampleBytes = format.bits / 8;
    const int frameBytes = sampleBytes * format.channels;
    const qint64 frames = dataBytes / frameBytes; // an incomplete last frame is left out
    if (frames == 0) {
        *why = QStringLiteral("it holds no sound");
        return std::nullopt;
    }
    // The first two channels (or the one), at the output's rate by linear interpolation.
    auto channel = [&](qint64 frame, int which) {
        const int used = std::min(which, format.channels - 1);
        return sampleAt(bytes + data + frame * frameBytes + used * sampleBytes, format);
    };
    const qint64 outFrames
        = std::min(MaxOutputFrames, std::max<qint64>(1, frames * OutputRate / format.rate));
    Frames out(size_t(outFrames) * 2);
    const double step = double(format.rate) / OutputRate;
    for (qint64 i = 0; i < outFrames; ++i) {
        const double position = double(i) * step;
        const qint64 frame = std::min<qint64>(qint64(position), frames - 1);
        const qint64 next = std::min(frame + 1, frames - 1);
        const double part = position - double(frame);
        for (int which = 0; which < 2; ++which) {
            const double value = channel(frame, which) * (1.0 - part) + channel(next, which) * part;
            out[size_t(i) * 2 + size_t(which)] = qint16(std::lround(value));
        }
    }
    return out;
}
