#include "sound/audiooutput.h"

#include "sound/pulselibrary.h"

#include <sys/time.h>

#include <algorithm>

namespace {
constexpr pa_sample_spec StreamFormat {PA_SAMPLE_S16LE, 44100, 2};
constexpr int BytesPerFrame = 4;
// What the stream holds ahead of the speakers, and so what the server asks the whole way to the
// speakers to keep: a change of the sound that is not flushed is heard this much later, and the
// server's thread must come back within it. Under 50 ms, long enough for two busy cores.
constexpr int LatencyMs = 40;
constexpr int AnswerWaitSeconds = 5;
constexpr char StreamName[] = "Морской бой";

pa_context_state_t stateOf(const PulseLibrary *pulse, pa_context *context)
{
    return context ? pulse->pa_context_get_state(context) : PA_CONTEXT_FAILED;
}

bool isSettled(pa_context_state_t state)
{
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
}
} // namespace

AudioOutput::AudioOutput(Fill fill, Report report)
    : m_fill(std::move(fill)), m_report(std::move(report))
{
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
    const Lock lock(*this);
    connect();
}

AudioOutput::~AudioOutput()
{
    if (!m_loop)
        return;
    m_pulse->pa_threaded_mainloop_lock(m_loop);
    endStream();
    if (m_context) {
        m_pulse->pa_context_set_state_callback(m_context, nullptr, nullptr);
        m_pulse->pa_context_disconnect(m_context);
        m_pulse->pa_context_unref(m_context);
    }
    m_pulse->pa_threaded_mainloop_unlock(m_loop);
    m_pulse->pa_threaded_mainloop_stop(m_loop);
    m_pulse->pa_threaded_mainloop_free(m_loop);
}

bool AudioOutput::isAvailable()
{
    if (!m_loop)
        return false;
    const Lock lock(*this);
    if (!PA_CONTEXT_IS_GOOD(stateOf(m_pulse, m_context)))
        connect();
    // A server that never answers would keep the wait going: a timer of the loop ends it.
    struct Wait
    {
        AudioOutput *output;
        bool expired;
    } wait {this, false};
    pa_mainloop_api *api = m_pulse->pa_threaded_mainloop_get_api(m_loop);
    timeval deadline;
    gettimeofday(&deadline, nullptr);
    deadline.tv_sec += AnswerWaitSeconds;
    pa_time_event *timer = api->time_new(
        api, &deadline,
        [](pa_mainloop_api *, pa_time_event *, const timeval *, void *data) {
            auto *waiting = static_cast<Wait *>(data);
            waiting->expired = true;
            waiting->output->m_pulse->pa_threaded_mainloop_signal(waiting->output->m_loop, 0);
        },
        &wait);
    while (!isSettled(stateOf(m_pulse, m_context)) && !wait.expired)
        m_pulse->pa_threaded_mainloop_wait(m_loop);
    api->time_free(timer);
    return stateOf(m_pulse, m_context) == PA_CONTEXT_READY;
}

void AudioOutput::open()
{
    const Lock lock(*this);
    m_wanted = true;
    if (!m_loop)
        return;
    const pa_context_state_t state = stateOf(m_pulse, m_context);
    if (!PA_CONTEXT_IS_GOOD(state))
        connect(); // the stream starts once the server has answered
    else if (state == PA_CONTEXT_READY
             && (!m_stream || !PA_STREAM_IS_GOOD(m_pulse->pa_stream_get_state(m_stream))))
        startStream();
}

void AudioOutput::close()
{
    const Lock lock(*this);
    m_wanted = false;
    endStream();
}

void AudioOutput::flush()
{
    const Lock lock(*this);
    if (m_stream && m_pulse->pa_stream_get_state(m_stream) == PA_STREAM_READY) {
        if (pa_operation *flushing = m_pulse->pa_stream_flush(m_stream, nullptr, nullptr))
            m_pulse->pa_operation_unref(flushing);
    }
}

AudioOutput::Lock::Lock(AudioOutput &output) : m_output(output)
{
    if (m_output.m_loop)
        m_output.m_pulse->pa_threaded_mainloop_lock(m_output.m_loop);
}

AudioOutput::Lock::~Lock()
{
    if (m_output.m_loop)
        m_output.m_pulse->pa_threaded_mainloop_unlock(m_output.m_loop);
}

void AudioOutput::connect()
{
    endStream();
    if (m_context) {
        m_pulse->pa_context_set_state_callback(m_context, nullptr, nullptr);
        m_pulse->pa_context_unref(m_context);
    }
    m_context = m_pulse->pa_context_new(m_pulse->pa_threaded_mainloop_get_api(m_loop), StreamName);
    if (!m_context)
        return m_report(QStringLiteral("libpulse cannot make a connection"));
    m_pulse->pa_context_set_state_callback(m_context, contextChanged, this);
    // A sound server the player has not started is not started by the game either.
    if (m_pulse->pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        m_report(serverError());
}

void AudioOutput::startStream()
{
    endStream();
    m_stream = m_pulse->pa_stream_new(m_context, StreamName, &StreamFormat, nullptr);
    if (!m_stream)
        return m_report(serverError());
    m_pulse->pa_stream_set_state_callback(m_stream, streamChanged, this);
    m_pulse->pa_stream_set_write_callback(m_stream, writable, this);
    const auto unset = uint32_t(-1);
    const pa_buffer_attr buffer {unset, StreamFormat.rate * BytesPerFrame * LatencyMs / 1000, unset,
                                 unset, unset};
    if (m_pulse->pa_stream_connect_playback(m_stream, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                            nullptr, nullptr)
        < 0) {
        m_report(serverError());
        endStream();
    }
}

void AudioOutput::endStream()
{
    if (!m_stream)
        return;
    m_pulse->pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    m_pulse->pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    m_pulse->pa_stream_disconnect(m_stream);
    m_pulse->pa_stream_unref(std::exchange(m_stream, nullptr));
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
    if (state == PA_CONTEXT_READY && output->m_wanted && !output->m_stream)
        output->startStream();
    else if (state == PA_CONTEXT_FAILED)
        output->m_report(output->serverError());
    output->m_pulse->pa_threaded_mainloop_signal(output->m_loop, 0);
}

void AudioOutput::streamChanged(pa_stream *stream, void *self)
{
    auto *output = static_cast<AudioOutput *>(self);
    // A lost server fails the stream too: the connection's own failure tells that.
    if (output->m_pulse->pa_stream_get_state(stream) == PA_STREAM_FAILED
        && PA_CONTEXT_IS_GOOD(stateOf(output->m_pulse, output->m_context))) {
        output->m_report(QStringLiteral("the sound server refused the game's sound (%1)")
                             .arg(QString::fromUtf8(output->m_pulse->pa_strerror(
                                 output->m_pulse->pa_context_errno(output->m_context)))));
    }
}

void AudioOutput::writable(pa_stream *stream, size_t bytes, void *self)
{
    auto *output = static_cast<AudioOutput *>(self);
    while (bytes >= BytesPerFrame) {
        void *data = nullptr;
        size_t available = bytes;
        if (output->m_pulse->pa_stream_begin_write(stream, &data, &available) < 0 || !data)
            return;
        const size_t filled = std::min(available, bytes) / BytesPerFrame * BytesPerFrame;
        if (filled == 0) {
            output->m_pulse->pa_stream_cancel_write(stream);
            return;
        }
        output->m_fill(static_cast<std::int16_t *>(data), int(filled / BytesPerFrame));
        output->m_pulse->pa_stream_write(stream, data, filled, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= filled;
    }
}
