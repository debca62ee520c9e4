#include "results/resultskeeper.h"

#include "results/resultslog.h"
#include "results/resultsstore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QThread>

#include <atomic>
#include <cstdlib>

namespace {

// The keeper that exit() must still flush. exit() unwinds no stack, so the window
// and its store stay alive while the handlers registered with atexit() run.
std::atomic<ResultsKeeper *> liveKeeper {nullptr};

void flushAtExit()
{
    if (ResultsKeeper *keeper = liveKeeper.exchange(nullptr))
        keeper->flushAtQuit();
}

} // namespace

ResultsKeeper::ResultsKeeper(ResultsStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    m_retry.setInterval(RetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { flush(); });
    if (auto *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &ResultsKeeper::flushAtQuit);
    // Qt's SQL globals are destroyed in reverse order of their making, together with
    // the atexit() handlers: made first, they still stand when the handler runs.
    QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"));
    QSqlDatabase::contains(QString());
    static const bool registered = std::atexit(flushAtExit) == 0;
    Q_UNUSED(registered);
    liveKeeper = this;
}

ResultsKeeper::~ResultsKeeper()
{
    ResultsKeeper *self = this;
    liveKeeper.compare_exchange_strong(self, nullptr);
    flushAtQuit();
}

QString ResultsKeeper::save(const QStringList &row)
{
    m_pending.append(row);
    if (flush())
        return {};
    return QStringLiteral("Результат игры не сохранён: %1.\nИгра попробует сохранить его ещё раз.")
        .arg(m_store.failure());
}

bool ResultsKeeper::flush(int lockWaitMs)
{
    // A store that could not even open under the lock fails at once, whatever the
    // wait: it is tried again until the time is up.
    const QDeadlineTimer deadline(lockWaitMs);
    while (!m_pending.isEmpty()) {
        const QStringList &row = m_pending.constFirst();
        if (m_store.append(row.value(0), row.value(1), row.value(2), row.value(3),
                           int(deadline.remainingTime()))) {
            m_pending.removeFirst();
            continue;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(50);
    }
    if (m_pending.isEmpty())
        m_retry.stop();
    else if (!m_retry.isActive() && thread() == QThread::currentThread())
        m_retry.start();
    return m_pending.isEmpty();
}

void ResultsKeeper::flushAtQuit()
{
    if (m_pending.isEmpty())
        return;
    // The store's connection belongs to the window's thread; from any other only
    // the text file is safe.
    if (thread() == QThread::currentThread() && flush(QuitWaitMs))
        return;
    m_retry.stop();
    if (keepAsText())
        qCWarning(lcResults).noquote()
            << m_pending.size() << "result(s) could not be saved; they are kept in"
            << unsavedFilePath();
    else
        qCWarning(lcResults).noquote() << m_pending.size() << "result(s) are lost";
    m_pending.clear();
}

QString ResultsKeeper::unsavedFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(QStringLiteral("unsaved-results.txt"));
}

bool ResultsKeeper::keepAsText()
{
    const QString path = unsavedFilePath();
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    for (const QStringList &row : std::as_const(m_pending))
        file.write(row.join(QLatin1Char('\t')).toUtf8() + '\n');
    return file.flush() && file.error() == QFileDevice::NoError;
}
