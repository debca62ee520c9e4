#pragma once

#include <QMap>
#include <QString>

// Voluntary context switches of each thread of the process since the snapshot: which threads
// wake up, and how often.
class ThreadWakeups
{
public:
    ThreadWakeups();
    // "name: N/s" for every thread that woke up, busiest first.
    QString perSecondSince(double seconds) const;

private:
    struct Thread
    {
        QString name;
        qint64 switches = 0;
    };
    static QMap<QString, Thread> read();

    QMap<QString, Thread> m_start;
};
