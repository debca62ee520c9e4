#pragma once

#include <QByteArray>
#include <QString>

#include <pulse/sample.h> // types only: the library is loaded when the sound is first opened

#include <array>
#include <functional>

struct PulseLibrary;
struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;

// A connection to the sound server and one playback stream per sound while it is heard; the
// server mixes and converts them. The server's requests run on libpulse's own thread, so sound
// plays on while the window is busy. No stream exists while nothing is heard: a quiet game costs
// no CPU. A lost server is called again every second while a sound is wanted, and the sounds go
// on where they were.
class AudioOutput
{
public:
    static constexpr int Streams = 2;
    // Copies up to `bytes` bytes of whole frames into `into`: how many, 0 at the sound's end.
    // Called on the server's thread; play() and stop() wait until it has returned.
    using Read = std::function<qsizetype(char *into, qsizetype bytes)>;
    // Each trouble, in a sentence, as often as it happens: the caller says each once.
    using Report = std::function<void(const QString &why)>;

    explicit AudioOutput(Report report);
    ~AudioOutput(); // the server's thread is gone when this returns

    // Plays the sound in place of what the stream played, as soon as the server answers; the
    // stream ends by itself once its sound has been heard.
    void play(int stream, const pa_sample_spec &format, Read read);
    void stop(int stream); // at once: `read` is not called again

private:
    struct Stream
    {
        AudioOutput *output = nullptr;
        pa_sample_spec format {};
        Read read;
        pa_stream *stream = nullptr;
        bool wanted = false;
        bool ending = false; // its sound has run out and is being played to its end
    };
    void connect();
    void disconnect();
    void retryLater();
    void startStream(Stream &stream);
    void endStream(Stream &stream);
    QString serverError() const;
    static void contextChanged(pa_context *context, void *self);
    static void streamChanged(pa_stream *stream, void *self);
    static void writable(pa_stream *stream, size_t bytes, void *self);
    static void drained(pa_stream *stream, int success, void *self);

    Report m_report;
    // The game's name as the desktop's sound settings show it. Held by the output, not in a
    // static: when the display is lost, Qt ends the process with exit(), which destroys the
    // statics while the server's thread may still be calling the server again with it.
    const QByteArray m_name;
    const PulseLibrary *m_pulse = nullptr;
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_time_event *m_retry = nullptr;
    std::array<Stream, Streams> m_streams;
};
