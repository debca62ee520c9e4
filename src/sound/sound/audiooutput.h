#pragma once

#include <QString>

#include <array>
#include <functional>

struct PulseLibrary;
struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;

// The game's way to the speakers: a connection to the sound server and one playback stream for
// each sound while it is heard. The server mixes the streams and converts each from its own
// format; it asks for sound on a thread of libpulse's own, so the sound plays on while the
// window is busy, and the window's thread never waits for the server. No stream exists while
// nothing is heard, so a quiet game costs no CPU at all. A lost server is called again every
// second for as long as a sound is wanted, and the sounds go on where they were.
class AudioOutput
{
public:
    static constexpr int Streams = 2;
    // A sound's format as the server names it (pa_sample_format_t), its rate and channels.
    struct Format
    {
        int sample = 0;
        int rate = 0;
        int channels = 0;
    };
    // Copies up to `bytes` bytes of the sound, whole frames, into `into`: how many, 0 at its
    // end. Called on the server's thread; play() and stop() wait until it has returned.
    using Read = std::function<qsizetype(char *into, qsizetype bytes)>;
    // A trouble with the server, in a sentence; told once until the sound is back.
    using Report = std::function<void(const QString &why)>;

    explicit AudioOutput(Report report);
    // Ends the streams and the connection; the server's thread is gone when this returns.
    ~AudioOutput();

    // Plays the sound read by `read` on the stream, in place of what it played: at once, or as
    // soon as the server answers. The stream ends by itself once its sound has been heard.
    void play(int stream, const Format &format, Read read);
    // Ends the stream at once: `read` is not called again.
    void stop(int stream);

private:
    struct Stream
    {
        AudioOutput *output = nullptr;
        Format format;
        Read read;
        pa_stream *stream = nullptr;
        bool wanted = false;
        bool ending = false; // its sound has run out and is being played to its end
    };
    void connect();
    void disconnect(); // ends the streams and a call due too
    void retryLater();
    void report(const QString &why);
    void startStream(Stream &stream);
    void endStream(Stream &stream);
    QString serverError() const;
    static void contextChanged(pa_context *context, void *self);
    static void streamChanged(pa_stream *stream, void *self);
    static void writable(pa_stream *stream, size_t bytes, void *self);
    static void drained(pa_stream *stream, int success, void *self);

    Report m_report;
    const PulseLibrary *m_pulse = nullptr;
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_time_event *m_retry = nullptr;
    bool m_told = false; // a trouble was reported, and the server has not answered since
    std::array<Stream, Streams> m_streams;
};
