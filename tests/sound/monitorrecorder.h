#pragma once

#include <QProcess>
#include <QString>

#include <memory>
#include <vector>

class PrivateSink;

// Records a sink's monitor with parec, 8 kHz mono, reading its output as it comes (a killed parec
// keeps its last chunk to itself). The recording is gapless, so frame numbers serve as its clock:
// frames() taken right after a command marks the moment of that command in the recording.
class MonitorRecorder
{
public:
    static constexpr int Rate = 8000;
    static constexpr qint64 framesIn(int ms) { return qint64(ms) * Rate / 1000; }

    explicit MonitorRecorder(const QString &source);
    ~MonitorRecorder();

    // Starts parec and waits for the first samples; false with error() when it cannot.
    bool start();
    QString error() const { return m_error; }

    // Frames recorded so far, after reading what parec has sent.
    qint64 frames();
    // Lets the recording reach the given frame, handling events meanwhile.
    bool waitFor(qint64 frame);
    // Waits for frame from + span, then gives the largest level in [from, from + span).
    int peakAfter(qint64 from, int spanMs);
    // The average sample of [from, from + span): the level of a constant sound under any music.
    int meanAfter(qint64 from, int spanMs);
    // The longest run of 20 ms windows of [from, from + span) that peak at or below the level,
    // in ms: 0 when the sound never drops to it.
    int longestDropAfter(qint64 from, int spanMs, int level);
    // The first frame at or after from louder than the level, looking at most span far.
    qint64 firstLouderAfter(qint64 from, int level, int spanMs);

private:
    void readAvailable();

    QString m_source;
    QString m_error;
    QProcess m_parec;
    QByteArray m_pending;
    std::vector<qint16> m_samples;
};

// Makes a private null sink and starts recording its monitor. Empty when both run; otherwise
// why not, for the caller to skip with.
QString listenOnPrivateSink(std::unique_ptr<PrivateSink> &sink,
                            std::unique_ptr<MonitorRecorder> &recorder);
