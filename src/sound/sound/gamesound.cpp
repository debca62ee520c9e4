#include "sound/gamesound.h"

#include "files/mediabytes.h"
#include "tune/tunewav.h"

#include <QLoggingCategory>
#include <QtEndian>

#include <algorithm>
#include <cstring>

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

namespace {
constexpr quint16 Pcm = 1;
constexpr quint16 Float = 3;
constexpr quint16 Extensible = 0xfffe;

// The server's name for samples of a WAV format tag and size; PA_SAMPLE_INVALID for others.
pa_sample_format_t sampleFormat(quint16 tag, int bits)
{
    if (tag == Float && bits == 32)
        return PA_SAMPLE_FLOAT32LE;
    if (tag != Pcm)
        return PA_SAMPLE_INVALID;
    return bits == 8 ? PA_SAMPLE_U8
        : bits == 16 ? PA_SAMPLE_S16LE
        : bits == 24 ? PA_SAMPLE_S24LE
        : bits == 32 ? PA_SAMPLE_S32LE
                     : PA_SAMPLE_INVALID;
}

} // namespace

GameSound::GameSound(const QString &renderer)
    : m_log(lcSound)
    , m_output([this](const QString &why) { warn(QStringLiteral("no sound: %1").arg(why)); })
    , m_renderer(
          renderer, [this](TuneFile tune) { takeTune(std::move(tune)); },
          [this](const QString &message) { warn(message); })
{ }

GameSound::~GameSound() = default;

void GameSound::openTune()
{
    closeTune();
    QString why;
    const std::optional<QByteArray> midi
        = MediaBytes::read(m_tunePath, MediaBytes::MaxTuneBytes, &why);
    if (!midi) {
        return warn(
            QStringLiteral("the tune %1 cannot be read (%2): no music").arg(m_tunePath, why));
    }
    if (!midi->startsWith("MThd"))
        return warn(QStringLiteral("the tune %1 is not a MIDI file: no music").arg(m_tunePath));
    m_tuneOpen = true;
    // The file is read at each "Open"; an unchanged one keeps its rendering (or its failure).
    const QByteArray key = m_renderer.keyOf(*midi);
    if (key == m_tuneKey)
        return;
    m_tuneKey = key;
    m_tune.reset();
    m_renderer.render(m_tunePath, *midi, key);
}

void GameSound::playTune()
{
    m_tunePlaying = m_tuneOpen;
    if (!m_tunePlaying || !m_tune || m_tuneAt >= m_tune->dataBytes)
        return;
    // The tune's file holds 16-bit little-endian stereo whatever this machine's byte order.
    const pa_sample_spec format {PA_SAMPLE_S16LE, TuneWav::SampleRate, TuneWav::Channels};
    m_output.play(TuneStream, format, [this](char *into, qsizetype bytes) {
        const qint64 got = m_tune->read(m_tuneAt, into, bytes);
        m_tuneAt += got;
        return qsizetype(got); // a file that ends early (another program cut it) ends the tune
    });
}

void GameSound::stopTune()
{
    m_tunePlaying = false;
    m_output.stop(TuneStream);
}

void GameSound::closeTune()
{
    stopTune();
    m_tuneOpen = false;
    m_tuneAt = 0;
}

void GameSound::startHitSound(const QString &wavPath)
{
    m_output.stop(HitStream);
    QString why;
    const std::optional<QByteArray> wav
        = MediaBytes::read(wavPath, MediaBytes::MaxSoundBytes, &why);
    if (!wav) {
        return warn(
            QStringLiteral("the hit sound %1 cannot be read (%2): no hit sound").arg(wavPath, why));
    }
    m_hit = decodeWav(*wav, &why);
    if (!m_hit) {
        return warn(QStringLiteral("the hit sound %1 cannot be played (%2): no hit sound")
                        .arg(wavPath, why));
    }
    m_hitAt = 0;
    m_output.play(HitStream, m_hit->format, [this](char *into, qsizetype bytes) {
        // Looped: whole frames from where it is, again from its beginning at its end.
        const QByteArray &sound = m_hit->samples;
        for (qsizetype done = 0; done < bytes;) {
            const qsizetype part = std::min(bytes - done, sound.size() - m_hitAt);
            std::memcpy(into + done, sound.constData() + m_hitAt, size_t(part));
            done += part;
            m_hitAt = (m_hitAt + part) % sound.size();
        }
        return bytes;
    });
}

void GameSound::stopHitSound()
{
    m_output.stop(HitStream);
}

void GameSound::takeTune(TuneFile tune)
{
    m_output.stop(TuneStream);
    m_tune = std::move(tune);
    m_tuneAt = 0;
    if (m_tunePlaying)
        playTune();
}

std::optional<GameSound::Sound> GameSound::decodeWav(const QByteArray &wav, QString *why)
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
        *why = QString::asprintf("WAV format %u with %d channels of %d bits at %u Hz is not played",
                                 unsigned(tag), channels, bits, unsigned(rate));
        return std::nullopt;
    }
    const qsizetype frameBytes = qsizetype(bits / 8) * channels;
    dataBytes -= dataBytes % frameBytes; // an incomplete last frame is left out
    if (dataBytes == 0) {
        *why = QStringLiteral("it holds no sound");
        return std::nullopt;
    }
    return Sound {{sample, rate, uint8_t(channels)}, wav.mid(data, dataBytes)};
}
