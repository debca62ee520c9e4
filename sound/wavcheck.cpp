#include "sound/wavcheck.h"

#include <QtEndian>

namespace {

quint32 u32(const QByteArray &bytes, qsizetype pos)
{
    return qFromLittleEndian<quint32>(bytes.constData() + pos);
}

quint16 u16(const QByteArray &bytes, qsizetype pos)
{
    return qFromLittleEndian<quint16>(bytes.constData() + pos);
}

QString formatProblem(const QByteArray &wav, qsizetype fmt, quint32 length)
{
    // Qt skips a format chunk without its pad byte, so an odd length would derail it.
    if (length < 16 || length % 2)
        return QStringLiteral("is damaged (a format chunk of %1 bytes)").arg(length);
    const quint16 encoding = u16(wav, fmt);
    const quint16 channels = u16(wav, fmt + 2);
    const quint32 rate = u32(wav, fmt + 4);
    const quint16 bits = u16(wav, fmt + 14);
    if (encoding != 1 || (bits != 8 && bits != 16) || channels < 1 || channels > 8 || rate < 8000
        || rate > 192000) {
        return QStringLiteral("is in a format that cannot be played (only 8- or 16-bit PCM)");
    }
    return {};
}

} // namespace

QString WavCheck::problem(const QByteArray &wav)
{
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return QStringLiteral("is not a WAV file");
    if (wav.size() > MaxBytes)
        return QStringLiteral("is too large for a hit sound");
    bool haveFormat = false;
    for (qsizetype pos = 12; pos + 8 <= wav.size();) {
        const QByteArray id = wav.mid(pos, 4);
        const quint32 length = u32(wav, pos + 4);
        const qsizetype body = pos + 8;
        if (length > quint64(wav.size() - body))
            return QStringLiteral("is cut short");
        if (id == "fmt ") {
            const QString problem = formatProblem(wav, body, length);
            if (!problem.isEmpty())
                return problem;
            haveFormat = true;
            pos = body + length;
        } else if (id == "data") {
            if (!haveFormat)
                return QStringLiteral("is damaged (sound data before its format)");
            return length == 0 ? QStringLiteral("holds no sound") : QString();
        } else {
            pos = body + length + (length & 1);
        }
    }
    return haveFormat ? QStringLiteral("holds no sound") : QStringLiteral("is not a WAV file");
}
