#include "monitorrecorder.h"

#include "privatesink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

MonitorRecorder::MonitorRecorder(const QString &source) : m_source(source) { }

MonitorRecorder::~MonitorRecorder()
{
    m_parec.kill();
    m_parec.waitForFinished(5000);
}

bool MonitorRecorder::start()
{
    // A short latency makes parec hand over every few milliseconds instead of every few seconds.
    m_parec.start(QStringLiteral("parec"),
                  {QStringLiteral("--latency-msec=10"), QStringLiteral("-d"), m_source,
                   QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                   QStringLiteral("--rate=%1").arg(Rate), QStringLiteral("--channels=1")});
    if (!m_parec.waitForStarted(5000)) {
        m_error = QStringLiteral("parec does not start: ") + m_parec.errorString();
        return false;
    }
    if (!waitFor(1)) {
        m_error = QStringLiteral("parec records nothing from ") + m_source + QLatin1Char(' ')
            + QString::fromLocal8Bit(m_parec.readAllStandardError());
        return false;
    }
    return true;
}

qint64 MonitorRecorder::frames()
{
    readAvailable();
    return qint64(m_samples.size());
}

bool MonitorRecorder::waitFor(qint64 frame)
{
    const QDeadlineTimer deadline(10000 + frame * 1000 / Rate);
    while (frames() < frame && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        m_parec.waitForReadyRead(20);
    }
    return frames() >= frame;
}

int MonitorRecorder::peakAfter(qint64 from, int spanMs)
{
    const qint64 to = from + framesIn(spanMs);
    waitFor(to);
    int peak = 0;
    for (qint64 i = from; i < qMin<qint64>(to, m_samples.size()); ++i)
        peak = std::max(peak, std::abs(int(m_samples[size_t(i)])));
    return peak;
}

int MonitorRecorder::meanAfter(qint64 from, int spanMs)
{
    const qint64 to = from + framesIn(spanMs);
    waitFor(to);
    qint64 sum = 0;
    for (qint64 i = from; i < to; ++i)
        sum += m_samples[size_t(i)];
    return int(sum / (to - from));
}

int MonitorRecorder::longestDropAfter(qint64 from, int spanMs, int level)
{
    const qint64 window = framesIn(20);
    int run = 0;
    int longest = 0;
    for (qint64 start = from; start + window <= from + framesIn(spanMs); start += window) {
        run = peakAfter(start, 20) <= level ? run + 20 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

qint64 MonitorRecorder::firstLouderAfter(qint64 from, int level, int spanMs)
{
    const qint64 to = from + framesIn(spanMs);
    for (qint64 i = from; i < to; ++i) {
        if (i >= qint64(m_samples.size()) && !waitFor(i + 1))
            return -1;
        if (std::abs(int(m_samples[size_t(i)])) > level)
            return i;
    }
    return -1;
}

void MonitorRecorder::readAvailable()
{
    m_pending += m_parec.readAllStandardOutput();
    const qsizetype whole = m_pending.size() / 2;
    for (qsizetype i = 0; i < whole; ++i)
        m_samples.push_back(qFromLittleEndian<qint16>(m_pending.constData() + 2 * i));
    m_pending.remove(0, whole * 2);
}

QString listenOnPrivateSink(std::unique_ptr<PrivateSink> &sink,
                            std::unique_ptr<MonitorRecorder> &recorder)
{
    sink = std::make_unique<PrivateSink>();
    if (!sink->isValid())
        return sink->error();
    recorder = std::make_unique<MonitorRecorder>(sink->monitor());
    if (!recorder->start())
        return recorder->error();
    return {};
}
