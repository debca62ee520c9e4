#include "sound/tuneplayer.h"

#include "sound/soundlog.h"
#include "sound/tunerendering.h"
#include "sound/tunestream.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>

namespace {

// A MIDI tune of a few minutes is tens of kilobytes; anything far bigger is not one.
constexpr qint64 MaxMidiBytes = 4 * 1024 * 1024;
// Half a second at the server bridges any stall of the audio thread; "Stop" and "Close" still
// silence at once, as the server drops or holds what it has.
constexpr qint64 ServerBufferBytes = TuneRendering::SampleRate * TuneRendering::BytesPerFrame / 2;

QAudioFormat tuneFormat()
{
    QAudioFormat format;
    format.setSampleRate(TuneRendering::SampleRate);
    format.setChannelCount(TuneRendering::Channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

TunePlayer::TunePlayer(QObject *parent) : QObject(parent) { }

TunePlayer::~TunePlayer()
{
    releaseSink();
}

void TunePlayer::setFile(const QString &path)
{
    m_path = path;
}

void TunePlayer::setSoundFont(const QString &path)
{
    m_soundFont = path;
}

void TunePlayer::setOutputDevice(const QAudioDevice &device)
{
    m_device = device;
}

void TunePlayer::open()
{
    if (m_open)
        close();
    QFile file(m_path);
    if (m_path.isEmpty())
        return m_fileWarning.warn(QStringLiteral("no tune file is set: no music"));
    if (!file.exists())
        return m_fileWarning.warn(QStringLiteral("the tune %1 is missing: no music").arg(m_path));
    if (!file.open(QIODevice::ReadOnly)) {
        return m_fileWarning.warn(QStringLiteral("the tune %1 cannot be read (%2): no music")
                                      .arg(m_path, file.errorString()));
    }
    // The file is read again at each "Open"; only its bytes decide whether the last rendering
    // still serves.
    const QByteArray midi = file.read(MaxMidiBytes + 1);
    if (!midi.startsWith("MThd") || midi.size() > MaxMidiBytes)
        return m_fileWarning.warn(
            QStringLiteral("the tune %1 is not a MIDI file: no music").arg(m_path));
    const QString soundFont
        = m_soundFont.isEmpty() ? TuneRendering::defaultSoundFont() : m_soundFont;
    if (soundFont.isEmpty()) {
        return m_fileWarning.warn(
            QStringLiteral("no General MIDI SoundFont (*.sf2) in %1: no music")
                .arg(TuneRendering::soundFontFolder()));
    }
    if (!QFileInfo(soundFont).isReadable())
        return m_fileWarning.warn(
            QStringLiteral("the SoundFont %1 is missing: no music").arg(soundFont));
    m_fileWarning.clear();

    const QByteArray key
        = QCryptographicHash::hash(midi, QCryptographicHash::Sha1) + QFile::encodeName(soundFont);
    if (!m_rendering || key != m_renderingKey) {
        m_rendering.reset();
        m_rendering = std::make_shared<TuneRendering>(midi, soundFont);
        m_renderingKey = key;
        connect(m_rendering.get(), &TuneRendering::readyToPlay, this, [this] {
            if (m_playing)
                startOrResume();
        });
        // Said once per rendering, and an unchanged broken file is not rendered again.
        connect(m_rendering.get(), &TuneRendering::failed, this,
                [path = m_path](const QString &why) {
                    qCWarning(lcSound).noquote()
                        << QStringLiteral("the tune %1 stays silent: %2").arg(path, why);
                });
        m_rendering->start();
    }
    m_stream = new TuneStream(m_rendering, this);
    m_open = true;
}

void TunePlayer::play()
{
    if (!m_open || m_playing)
        return;
    m_playing = true;
    startOrResume();
}

void TunePlayer::stop()
{
    if (!m_playing)
        return;
    m_playing = false;
    if (m_sink) {
        m_heldBufferedBytes = bufferedBytes();
        m_sink->suspend();
    }
}

void TunePlayer::close()
{
    m_open = false;
    m_playing = false;
    releaseSink();
    if (m_stream)
        m_stream->deleteLater();
    m_stream = nullptr;
}

qint64 TunePlayer::position() const
{
    if (!m_stream)
        return 0;
    const qint64 buffered = m_sink && m_sink->state() == QAudio::SuspendedState
        ? m_heldBufferedBytes
        : bufferedBytes();
    const qint64 bytes = qMax<qint64>(0, m_stream->offset() - buffered);
    return bytes * 1000 / (TuneRendering::SampleRate * TuneRendering::BytesPerFrame);
}

void TunePlayer::startOrResume()
{
    if (m_sink) {
        if (m_sink->state() == QAudio::SuspendedState)
            m_sink->resume();
        return;
    }
    if (!m_rendering->isReadyToPlay() || m_stream->atEnd())
        return; // not ready: readyToPlay comes back here; at the end: silence until "Open"
    const QAudioDevice device = m_device.isNull() ? QMediaDevices::defaultAudioOutput() : m_device;
    if (device.isNull())
        return m_outputWarning.warn(
            QStringLiteral("no audio output: the tune %1 is not heard").arg(m_path));
    m_sink = new QAudioSink(device, tuneFormat(), this);
    m_sink->setBufferSize(ServerBufferBytes);
    connect(m_sink, &QAudioSink::stateChanged, this, &TunePlayer::onSinkStateChanged);
    m_sink->start(m_stream);
    if (m_sink->error() != QAudio::NoError) {
        m_outputWarning.warn(
            QStringLiteral("the sound server refused the tune %1 on %2: it is not heard")
                .arg(m_path, device.description()));
        releaseSink();
        return;
    }
    m_outputWarning.clear();
}

void TunePlayer::releaseSink()
{
    if (!m_sink)
        return;
    disconnect(m_sink, nullptr, this, nullptr);
    m_sink->stop();
    // The sink may be the sender of the signal being handled right now.
    m_sink->deleteLater();
    m_sink = nullptr;
}

void TunePlayer::onSinkStateChanged(QAudio::State state)
{
    if (!m_sink)
        return;
    if (state == QAudio::IdleState && m_stream && m_stream->atEnd()) {
        releaseSink(); // played to its end: nothing more to fetch, so no more wake-ups
    } else if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        m_outputWarning.warn(QStringLiteral("the sound server stopped the tune %1").arg(m_path));
        releaseSink();
    }
}

qint64 TunePlayer::bufferedBytes() const
{
    if (!m_sink || m_sink->state() == QAudio::StoppedState)
        return 0;
    return qMax<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree());
}
