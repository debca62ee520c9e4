#include "sound/audiooutput.h"

#include "sound/pulselibrary.h"

#include <QByteArray>
#include <QCoreApplication>

#include <sys/time.h>

#include <algorithm>

namespace {
// What the server holds ahead of the speakers: a sound starts or stops at most this late, and the
// server's thread must come back within it. Under 50 ms, long enough for two busy cores.
constexpr int LatencyMs = 40;
constexpr int RetrySeconds = 1;
} // namespace

AudioOutput::AudioOutput(Report report)
    : m_report(std::move(report))
    , m_name(QCoreApplication::translate("AudioOutput", "Морской бой").toUtf8())
{
    for (Stream &stream : m_streams)
        stream.output = this;
    QString why;
    m_pulse = PulseLibrary::load(&why);
    if (!m_pulse) {
        m_report(QStringLiteral("libpulse.so.0 cannot be loaded (%1)").arg(why));
        return;
    }
    m_loop = m_pulse->pa_threaded_mainloop_new();
    if (!m_loop || m_pulse->pa_threaded_mainloop_start(m_loop) < 0) {
        m_report(QStringLiteral("libpulse cannot start its thread"));
        if (m_loop)
            m_pulse->pa_threaded_mainloop_free(std::exchange(m_loop, nullptr));
        return;
    }
    m_pulse->pa_threaded_mainloop_lock(m_loop);
    connect();
    m_pulse->pa_threaded_mainloop_unlock(m_loop);
}

AudioOutput::~AudioOutput()
{
    if (!m_loop)
        return;
    m_pulse->pa_threaded_mainloop_lock(m_loop);
    disconnect();
    m_pulse->pa_threaded_mainloop_unlock(m_loop);
    m_pulse->pa_threaded_mainloop_stop(m_loop);
    m_pulse->pa_threaded_mainloop_free(m_loop);
}

void AudioOutput::play(int index, const pa_sample_spec &format, Read read)
{
    if (!m_loop)
        return;
    m_pulse->pa_threaded_mainloop_lock(m_loop); // the server's thread waits meanwhile
    Stream &stream = m_streams[size_t(index)];
    endStream(stream);
    stream = {this, format, std::move(read), nullptr, true, false};
    const pa_context_state_t state
        = m_context ? m_pulse->pa_context_get_state(m_context) : PA_CONTEXT_FAILED;
    if (state == PA_CONTEXT_READY)
        startStream(stream);
    else if (!PA_CONTEXT_IS_GOOD(state))
        connect(); // the stream starts once the server answers
    m_pulse->pa_threaded_mainloop_unlock(m_loop);
}

void AudioOutput::stop(int index)
{
    if (!m_loop)
        return;
    m_pulse->pa_threaded_mainloop_lock(m_loop);
    endStream(m_streams[size_t(index)]);
    m_streams[size_t(index)].wanted = false;
    m_pulse->pa_threaded_mainloop_unlock(m_loop);
}

void AudioOutput::disconnect()
{
    if (m_retry) // a call already due would end the connection made now
        m_pulse->pa_threaded_mainloop_get_api(m_loop)->time_free(std::exchange(m_retry, nullptr));
    for (Stream &stream : m_streams)
        endStream(stream);
    if (m_context) {
        m_pulse->pa_context_set_state_callback(m_context, nullptr, nullptr);
        m_pulse->pa_context_disconnect(m_context);
        m_pulse->pa_context_unref(std::exchange(m_context, nullptr));
    }
}

void AudioOutput::connect()
{
    disconnect();
    m_context = m_pulse->pa_context_new(m_pulse->pa_threaded_mainloop_get_api(m_loop),
                                        m_name.constData());
    if (!m_context)
        return m_report(QStringLiteral("libpulse cannot make a connection"));
    m_pulse->pa_context_set_state_callback(m_context, contextChanged, this);
    // A sound server the player has not started is not started by the game either.
    if (m_pulse->pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        m_report(serverError());
        retryLater();
    }
}

void AudioOutput::retryLater()
{
    // Only while a sound is wanted: a quiet game without a server wakes for nothing.
    if (m_retry || std::none_of(m_streams.begin(), m_streams.end(), [](const Stream &s) {
            return s.wanted;
        }))
        return;
    timeval at;
    gettimeofday(&at, nullptr);
    at.tv_sec += RetrySeconds;
    pa_mainloop_api *api = m_pulse->pa_threaded_mainloop_get_api(m_loop);
    m_retry = api->time_new(
        api, &at,
        [](pa_mainloop_api *api, pa_time_event *event, const timeval *, void *self) {
            api->time_free(event);
            static_cast<AudioOutput *>(self)->m_retry = nullptr;
            static_cast<AudioOutput *>(self)->connect();
        },
        this);
}

void AudioOutput::startStream(Stream &stream)
{
    const pa_sample_spec &format = stream.format;
    pa_channel_map channels; // in a WAV file's order, for any number of them
    m_pulse->pa_channel_map_init_extend(&channels, format.channels, PA_CHANNEL_MAP_WAVEEX);
    stream.ending = false;
    stream.stream = m_pulse->pa_stream_new(m_context, m_name.constData(), &format, &channels);
    if (!stream.stream)
        return m_report(serverError());
    m_pulse->pa_stream_set_state_callback(stream.stream, streamChanged, &stream);
    m_pulse->pa_stream_set_write_callback(stream.stream, writable, &stream);
    const auto unset = uint32_t(-1);
    const pa_buffer_attr buffer {
        unset, uint32_t(m_pulse->pa_frame_size(&format) * format.rate * LatencyMs / 1000), unset,
        unset, unset};
    if (m_pulse->pa_stream_connect_playback(stream.stream, nullptr, &buffer,
                                            PA_STREAM_ADJUST_LATENCY, nullptr, nullptr)
        < 0) {
        m_report(serverError());
        endStream(stream);
    }
}

void AudioOutput::endStream(Stream &stream)
{
    if (!stream.stream)
        return;
    m_pulse->pa_stream_set_state_callback(stream.stream, nullptr, nullptr);
    m_pulse->pa_stream_set_write_callback(stream.stream, nullptr, nullptr);
    m_pulse->pa_stream_disconnect(stream.stream);
    m_pulse->pa_stream_unref(std::exchange(stream.stream, nullptr));
}

QString AudioOutput::serverError() const
{
    return QStringLiteral("the sound server cannot be reached (%1)")
        .arg(QString::fromUtf8(m_pulse->pa_strerror(m_pulse->pa_context_errno(m_context))));
}

void AudioOutput::contextChanged(pa_context *context, void *self)
{
    auto *output = static_cast<AudioOutput *>(self);
    const pa_context_state_t state = output->m_pulse->pa_context_get_state(context);
    if (state == PA_CONTEXT_READY) {
        for (Stream &stream : output->m_streams) {
            if (stream.wanted && !stream.stream)
                output->startStream(stream);
        }
    } else if (!PA_CONTEXT_IS_GOOD(state)) {
        // The server is gone (or never answered): the streams went with it.
        output->m_report(output->serverError());
        for (Stream &stream : output->m_streams)
            output->endStream(stream);
        output->retryLater();
    }
}

void AudioOutput::streamChanged(pa_stream *stream, void *self)
{
    auto &ours = *static_cast<Stream *>(self);
    const PulseLibrary *pulse = ours.output->m_pulse;
    // A lost server fails the stream too: the connection's own failure tells that.
    if (pulse->pa_stream_get_state(stream) == PA_STREAM_FAILED
        && PA_CONTEXT_IS_GOOD(pulse->pa_context_get_state(ours.output->m_context))) {
        ours.output->m_report(QStringLiteral("the sound server refused the game's sound (%1)")
                                  .arg(QString::fromUtf8(pulse->pa_strerror(
                                      pulse->pa_context_errno(ours.output->m_context)))));
    }
}

void AudioOutput::writable(pa_stream *stream, size_t bytes, void *self)
{
    auto &ours = *static_cast<Stream *>(self);
    const PulseLibrary *pulse = ours.output->m_pulse;
    const size_t frame = pulse->pa_frame_size(pulse->pa_stream_get_sample_spec(stream));
    QByteArray buffer(qsizetype(bytes / frame * frame), Qt::Uninitialized);
    if (ours.ending || buffer.isEmpty())
        return;
    // Whole frames only, also from a file cut short by another program.
    const size_t got = size_t(ours.read(buffer.data(), buffer.size())) / frame * frame;
    if (got > 0)
        pulse->pa_stream_write(stream, buffer.constData(), got, nullptr, 0, PA_SEEK_RELATIVE);
    if (got < size_t(buffer.size())) {
        // The sound has run out: the stream ends once the server has played what it holds.
        ours.ending = true;
        if (pa_operation *draining = pulse->pa_stream_drain(stream, drained, self))
            pulse->pa_operation_unref(draining);
    }
}

void AudioOutput::drained(pa_stream *stream, int, void *self)
{
    auto &ours = *static_cast<Stream *>(self);
    // Only the stream that was drained: one started since is left alone.
    if (ours.stream == stream && ours.ending) {
        ours.wanted = false;
        ours.output->endStream(ours);
    }
}
