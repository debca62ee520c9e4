#pragma once

#include <QString>

#include <cstdint>
#include <functional>

struct PulseLibrary;
struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// The game's way to the speakers: one playback stream of 16-bit stereo at 44.1 kHz to the sound
// server, which asks for sound on a thread of libpulse's own; the window's thread only starts and
// ends the stream and never waits for the server. The connection is made once and kept; the
// stream exists only while something is to be heard, so a quiet game costs no CPU at all. A lost
// server is connected again at the next sound.
class AudioOutput
{
public:
    // Fills `frames` frames of interleaved stereo on the server's thread, the lock held.
    using Fill = std::function<void(std::int16_t *samples, int frames)>;
    // A trouble with the server, in a sentence; called on any thread, once per occurrence.
    using Report = std::function<void(const QString &why)>;

    AudioOutput(Fill fill, Report report);
    // Ends the stream and the connection; the server's thread is gone when this returns.
    ~AudioOutput();

    // Waits until the server has answered: whether a stream can be played (for tests).
    bool isAvailable();
    void open(); // a stream is started, at once or as soon as the server is connected
    void close(); // the stream ends at once, with what it still held
    // Drops what the stream holds ahead of the speakers, so that a change of the sound is
    // heard at once rather than after it.
    void flush();
    bool isOpen() const { return m_wanted; }

    // Held while the sound being filled changes: the server's thread does not fill meanwhile.
    class Lock
    {
    public:
        explicit Lock(AudioOutput &output);
        ~Lock();
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

    private:
        AudioOutput &m_output;
    };

private:
    void connect();
    void startStream();
    void endStream();
    QString serverError() const;
    static void contextChanged(pa_context *context, void *self);
    static void streamChanged(pa_stream *stream, void *self);
    static void writable(pa_stream *stream, size_t bytes, void *self);

    Fill m_fill;
    Report m_report;
    const PulseLibrary *m_pulse = nullptr;
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    bool m_wanted = false;
};
