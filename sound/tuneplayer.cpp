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
constexpr qint64 MaxMidiBytes = 1024 * 1024;
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
    // Destroying a sink runs the thread's pending events: a rendering that becomes ready then
    // finds the player closed.
    m_open = false;
    m_playing = false;
    QList<QAudioSink *> sinks = m_oldSinks;
    if (m_sink)
        sinks.append(m_sink);
    m_sink = nullptr;
    m_oldSinks.clear();
    for (QAudioSink *sink : std::as_const(sinks)) {
        disconnect(sink, nullptr, this, nullptr);
        sink->stop();
        delete sink;
    }
    m_stream.reset();
    m_rendering.reset();
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
    const QByteArray midi = readTune(file);
    if (!midi.startsWith("MThd"))
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
    m_stream = std::make_unique<TuneStream>(m_rendering);
    m_open = true;
}

QByteArray TunePlayer::readTune(QFile &file)
{
    // A pipe has no end to wait for; a file larger than any tune is not read at all.
    if (file.isSequential() || file.size() > MaxMidiBytes)
        return {};
    QByteArray midi(file.size(), Qt::Uninitialized);
    midi.resize(qMax<qint64>(0, file.read(midi.data(), midi.size())));
    return midi;
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
    if (m_sinkRunning && m_sink->state() != QAudio::SuspendedState) {
        m_heldBufferedBytes = bufferedBytes();
        m_sink->suspend();
    }
}

void TunePlayer::close()
{
    m_open = false;
    m_playing = false;
    // The sink lets go of the stream before the stream goes.
    stopSink();
    m_stream.reset();
}

qint64 TunePlayer::position() const
{
    if (!m_stream)
        return 0;
    const qint64 buffered = m_sinkRunning && m_sink->state() == QAudio::SuspendedState
        ? m_heldBufferedBytes
        : bufferedBytes();
    const qint64 bytes = qMax<qint64>(0, m_stream->offset() - buffered);
    return bytes * 1000 / (TuneRendering::SampleRate * TuneRendering::BytesPerFrame);
}

void TunePlayer::startOrResume()
{
    if (m_sinkRunning) {
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
    // Qt waits for ever for a stream to an output that has gone away.
    if (!m_device.isNull() && !QMediaDevices::audioOutputs().contains(m_device)) {
        return m_outputWarning.warn(QStringLiteral("the audio output %1 is gone: the tune %2 is "
                                                   "not heard")
                                        .arg(m_device.description(), m_path));
    }
    QAudioSink *sink = sinkFor(device);
    m_starting = true;
    sink->start(m_stream.get());
    m_starting = false;
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
        m_outputWarning.warn(
            QStringLiteral("the sound server refused the tune %1 on %2: it is not heard")
                .arg(m_path, device.description()));
        sink->stop();
        return;
    }
    m_sinkRunning = true;
    m_outputWarning.clear();
}

QAudioSink *TunePlayer::sinkFor(const QAudioDevice &device)
{
    if (m_sink && m_sinkDevice == device)
        return m_sink;
    if (m_sink)
        m_oldSinks.append(m_sink); // stopped; destroyed with the player
    m_sink = new QAudioSink(device, tuneFormat());
    m_sinkDevice = device;
    m_sink->setBufferSize(ServerBufferBytes);
    connect(m_sink, &QAudioSink::stateChanged, this,
            [this, sink = m_sink] { onSinkStateChanged(sink); });
    return m_sink;
}

void TunePlayer::stopSink()
{
    if (!m_sinkRunning)
        return;
    m_sinkRunning = false;
    m_sink->stop();
}

void TunePlayer::onSinkStateChanged(QAudioSink *sink)
{
    if (sink != m_sink || !m_sinkRunning || m_starting)
        return;
    // The server's notices come late and through a queue: what counts is the sink's state now.
    if (sink->state() == QAudio::IdleState && m_stream && m_stream->atEnd()) {
        stopSink(); // played to its end: nothing more to fetch, so no more wake-ups
    } else if (sink->state() == QAudio::StoppedState) {
        m_sinkRunning = false;
        if (sink->error() != QAudio::NoError) {
            m_outputWarning.warn(
                QStringLiteral("the sound server stopped the tune %1").arg(m_path));
        }
    }
}

qint64 TunePlayer::bufferedBytes() const
{
    if (!m_sinkRunning || m_sink->state() == QAudio::StoppedState)
        return 0;
    return qMax<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree());
}
