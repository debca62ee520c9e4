#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

// One MIDI tune rendered by FluidSynth into 16-bit stereo PCM at 44.1 kHz on a thread of its own.
// Rendering offline takes well under a second for a minute of music, where a live synthesizer
// costs a good part of a core for as long as it plays; the player then replays the finished
// audio at every repeat of an unchanged tune.
class TuneRendering : public QObject
{
    Q_OBJECT
public:
    static constexpr int SampleRate = 44100;
    static constexpr int Channels = 2;
    static constexpr int BytesPerFrame = Channels * 2;
    // Audio rendered ahead before playback may start without running dry.
    static constexpr qint64 LeadBytes = SampleRate * BytesPerFrame;
    // A longer tune is cut off: memory stays bounded, and the game restarts the tune every 52 s.
    static constexpr qint64 MaxBytes = 300LL * SampleRate * BytesPerFrame;

    TuneRendering(const QByteArray &midi, const QString &soundFont);
    // Cancels the rendering and waits for its thread, so nothing outlives the object.
    ~TuneRendering() override;

    void start();

    // Copies rendered audio from a byte offset; 0 when nothing is ready there yet.
    qint64 read(qint64 offset, char *data, qint64 maxSize) const;
    qint64 renderedBytes() const;
    bool isReadyToPlay() const;
    bool isFinished() const;
    bool hasFailed() const;

    // The General MIDI SoundFont of the system, or an empty string when none is installed.
    static QString defaultSoundFont();
    static QString soundFontFolder();

signals:
    // Both come from the render thread, once each at most.
    void readyToPlay();
    void failed(const QString &reason);

private:
    void render();
    // Runs FluidSynth and frees it again; what went wrong, or an empty string.
    QString synthesize();
    void fail(const QString &reason);
    void append(const char *data, qint64 size);

    const QByteArray m_midi;
    const QString m_soundFont;
    mutable std::mutex m_mutex;
    QByteArray m_pcm;
    std::atomic<qint64> m_rendered {0};
    std::atomic<bool> m_heard {false};
    std::atomic<bool> m_ready {false};
    std::atomic<bool> m_finished {false};
    std::atomic<bool> m_failed {false};
    std::atomic<bool> m_cancel {false};
    std::thread m_thread;
};
