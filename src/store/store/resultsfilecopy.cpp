#include "store/resultsfilecopy.h"

#include "store/sqlitedb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QString partStem = QStringLiteral(".part");
// Room the copy leaves free on its disk, for the game's other files and the player's.
constexpr qint64 SpareBytes = 64 << 20;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
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
    removeLeftovers();
    start();
}

ResultsFileCopy::~ResultsFileCopy()
{
    if (!m_finished)
        finish(QStringLiteral("the copy was cut short"), false);
}

void ResultsFileCopy::removeLeftovers() const
{
    // A copy going on in another copy of the game holds its part's lock; a part whose lock
    // can be had is what a killed copy left, with SQLite's journal of it.
    const QFileInfo target(m_to);
    for (const QFileInfo &part : target.dir().entryInfoList(
             {target.fileName() + partStem + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        const QString path = part.filePath();
        if (path.endsWith(QLatin1String("-journal"))) {
            if (!QFileInfo::exists(path.chopped(8)))
                QFile::remove(path);
            continue;
        }
        RegularFile left(path, RegularFile::Mode::Read);
        if (left.isOpen() && left.tryLock()) {
            QFile::remove(path + QStringLiteral("-journal"));
            QFile::remove(path);
        }
    }
}

bool ResultsFileCopy::start()
{
    struct stat source = {};
    if (::stat(QFile::encodeName(m_from).constData(), &source) != 0)
        return finish(QStringLiteral("%1: %2").arg(m_from, systemError()));
    // A file whose size is mostly holes is no results file of this game, and copying it would
    // write every hole out.
    const qint64 size = source.st_size;
    if (size > SpareBytes && qint64(source.st_blocks) * 512 < size / 2)
        return finish(QStringLiteral("%1 is a sparse file of %2 bytes holding only %3")
                          .arg(m_from)
                          .arg(size)
                          .arg(qint64(source.st_blocks) * 512));
    struct statvfs disk = {};
    const QString folder = QFileInfo(m_to).path();
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) == 0
        && qint64(disk.f_bavail) * qint64(disk.f_frsize) < size + SpareBytes)
        return finish(QStringLiteral("%1 holds %2 bytes, more than %3 has free")
                          .arg(m_from)
                          .arg(size)
                          .arg(folder));

    RegularFile &part = m_partFile.emplace(m_to + partStem, RegularFile::Mode::CreateUnique);
    if (!part.isOpen() || !part.tryLock())
        return finish(QStringLiteral("no new file beside %1: %2").arg(m_to, part.problem()));
    m_part = part.path();
    ::fchmod(part.descriptor(), 0644); // as the results file would be made

    m_source = std::make_unique<SqliteDb>(m_from, SqliteDb::Mode::ReadOnly, 0);
    if (!m_source->isOpen())
        return finish(QStringLiteral("%1: %2").arg(m_from, m_source->errorText()));
    m_target = std::make_unique<SqliteDb>(m_part, SqliteDb::Mode::ReadWrite, 0);
    // The last step commits the copy; FULL syncs it before the file takes its name.
    if (!m_target->exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return finish(QStringLiteral("%1: %2").arg(m_part, m_target->errorText()));
    m_backup = sqlite3_backup_init(m_target->handle(), "main", m_source->handle(), "main");
    return m_backup || finish(QStringLiteral("%1: %2").arg(m_part, targetError()));
}

QString ResultsFileCopy::targetError() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_target->handle()));
}

bool ResultsFileCopy::step()
{
    if (m_finished)
        return true;
    const int code = sqlite3_backup_step(m_backup, PagesPerStep);
    if (code == SQLITE_OK || code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        // The pages written so far reach the disk now, a megabyte at a time: the commit at
        // the end would otherwise sync them all at once and hold the window that long.
        m_partFile->sync();
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
        m_error = QStringLiteral("%1: %2").arg(m_part, targetError());
    m_backup = nullptr;
    m_target.reset();
    m_source.reset();
    // The copy takes the name only where nothing is (link() does not replace): another copy
    // of the game may have made the file meanwhile, and that one is then used.
    if (m_error.isEmpty()
        && ::link(QFile::encodeName(m_part).constData(), QFile::encodeName(m_to).constData()) != 0
        && errno != EEXIST)
        m_error = QStringLiteral("%1 cannot be named %2: %3").arg(m_part, m_to, systemError());
    if (!m_part.isEmpty()) {
        QFile::remove(m_part);
        QFile::remove(m_part + QStringLiteral("-journal"));
        // A copy cut short by the program's end leaves the disk alone beyond that.
        if (tell)
            RegularFile::syncFolder(QFileInfo(m_to).path());
    }
    m_partFile.reset(); // its lock goes last
    m_finished = true;
    m_steps.stop();
    if (tell)
        emit finished();
    return true;
}
