#include "store/resultsfilecopy.h"

#include "files/regularfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const char *partStem = ".part";

QString sqliteError(sqlite3 *db, int code)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

} // namespace

ResultsFileCopy::ResultsFileCopy(const QString &from, const QString &to, QObject *parent)
    : QObject(parent), m_from(from), m_to(to)
{
    m_steps.setInterval(0);
    connect(&m_steps, &QTimer::timeout, this, [this] {
        if (step())
            m_steps.stop();
    });
    removeStaleParts();
    start();
}

ResultsFileCopy::~ResultsFileCopy()
{
    if (!m_finished)
        finish(QStringLiteral("the copy was cut short"), false);
}

void ResultsFileCopy::removeStaleParts() const
{
    // A copy going on in another copy of the game writes its part at every step; an hour
    // without a write is a copy that was killed.
    const QFileInfo target(m_to);
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &part : target.dir().entryInfoList(
             {target.fileName() + QLatin1String(partStem) + QStringLiteral(".*")}, QDir::Files)) {
        if (part.lastModified() < stale)
            QFile::remove(part.filePath());
    }
}

bool ResultsFileCopy::start()
{
    RegularFile part = RegularFile::createUnique(
        QFileInfo(m_to).path(), QFileInfo(m_to).fileName() + QLatin1String(partStem));
    if (!part.isOpen())
        return finish(QStringLiteral("no new file beside %1: %2").arg(m_to, part.problem()));
    m_part = part.path();
    ::fchmod(part.descriptor(), 0644); // as the results file would be made
    m_partFile = std::move(part);

    const int noLinks = SQLITE_OPEN_NOFOLLOW;
    int code = sqlite3_open_v2(QFile::encodeName(m_from).constData(), &m_source,
                               SQLITE_OPEN_READONLY | noLinks, nullptr);
    if (code != SQLITE_OK)
        return finish(QStringLiteral("%1: %2").arg(m_from, sqliteError(m_source, code)));
    code = sqlite3_open_v2(QFile::encodeName(m_part).constData(), &m_target,
                           SQLITE_OPEN_READWRITE | noLinks, nullptr);
    if (code != SQLITE_OK)
        return finish(QStringLiteral("%1: %2").arg(m_part, sqliteError(m_target, code)));
    // The last step commits the copy; FULL syncs it before the file takes its name.
    sqlite3_exec(m_target, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    m_backup = sqlite3_backup_init(m_target, "main", m_source, "main");
    if (!m_backup)
        return finish(QStringLiteral("%1: %2").arg(m_part, sqliteError(m_target, 0)));
    return true;
}

bool ResultsFileCopy::step()
{
    if (m_finished)
        return true;
    const int code = sqlite3_backup_step(m_backup, PagesPerStep);
    if (code == SQLITE_OK || code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        // The pages written so far reach the disk now, a megabyte at a time: the commit at
        // the end would otherwise sync them all at once and hold the window that long.
        m_partFile.sync();
        return false; // more to copy, or the source is being written: the next step goes on
    }
    if (code != SQLITE_DONE)
        return finish(QStringLiteral("%1 cannot be copied: %2").arg(m_from, sqlite3_errstr(code)));
    return finish({});
}

void ResultsFileCopy::continueInSteps()
{
    if (!m_finished)
        m_steps.start();
}

bool ResultsFileCopy::finish(const QString &error, bool tell)
{
    m_error = error;
    if (m_backup && sqlite3_backup_finish(m_backup) != SQLITE_OK && m_error.isEmpty())
        m_error = QStringLiteral("%1: %2").arg(m_part, sqliteError(m_target, 0));
    m_backup = nullptr;
    if (m_target && sqlite3_close(m_target) != SQLITE_OK && m_error.isEmpty())
        m_error = QStringLiteral("%1 cannot be closed").arg(m_part);
    m_target = nullptr;
    m_partFile.close();
    sqlite3_close(m_source);
    m_source = nullptr;
    // The copy takes the name only where nothing is: another copy of the game may have
    // made the file meanwhile, and that one is then used.
    if (m_error.isEmpty()
        && ::renameat2(AT_FDCWD, QFile::encodeName(m_part).constData(), AT_FDCWD,
                       QFile::encodeName(m_to).constData(), RENAME_NOREPLACE)
            != 0
        && errno != EEXIST)
        m_error = QStringLiteral("%1 cannot be named %2: %3")
                      .arg(m_part, m_to, QString::fromLocal8Bit(std::strerror(errno)));
    if (!m_part.isEmpty()) {
        QFile::remove(m_part);
        QFile::remove(m_part + QStringLiteral("-journal"));
        // A copy cut short by the program's end leaves the disk alone beyond that.
        if (tell)
            RegularFile::syncFolder(QFileInfo(m_to).path());
    }
    m_finished = true;
    m_steps.stop();
    if (tell)
        emit finished();
    return true;
}
