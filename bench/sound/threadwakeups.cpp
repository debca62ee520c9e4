#include "threadwakeups.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

ThreadWakeups::ThreadWakeups() : m_start(read()) { }

QMap<QString, ThreadWakeups::Thread> ThreadWakeups::read()
{
    QMap<QString, Thread> threads;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(tid + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        Thread thread;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("Name:"))
                thread.name = QString::fromUtf8(line.mid(5).trimmed());
            else if (line.startsWith("voluntary_ctxt_switches:"))
                thread.switches = line.mid(24).trimmed().toLongLong();
        }
        threads.insert(tid, thread);
    }
    return threads;
}

QString ThreadWakeups::perSecondSince(double seconds) const
{
    std::vector<std::pair<double, QString>> busy;
    const QMap<QString, Thread> now = read();
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const double rate = (it->switches - m_start.value(it.key()).switches) / seconds;
        if (rate > 0)
            busy.emplace_back(rate, it->name);
    }
    std::sort(busy.rbegin(), busy.rend());
    QStringList parts;
    for (const auto &[rate, name] : busy)
        parts.append(QStringLiteral("%1 %2/s").arg(name).arg(rate, 0, 'f', 1));
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
}
