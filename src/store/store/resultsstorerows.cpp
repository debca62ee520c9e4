// ResultsStore, its second half: a new file made and copied, and rows written.
#include "store/pendingrows.h"
#include "store/resultsfilecopy.h"
#include "store/resultsschema.h"
#include "store/resultsstore.h"
#include "store/sqlitedb.h"

#include <QFileInfo>

#include <sqlite3.h>

void ResultsStore::startCopy(const QString &from, const QString &to)
{
    auto copy = std::make_unique<ResultsFileCopy>(from, to);
    if (!copy->step()) {
        // A large file: the window shows meanwhile, and the copy goes on between its events.
        m_copy = std::move(copy);
        QObject::connect(m_copy.get(), &ResultsFileCopy::finished, m_copy.get(),
                         [this] { copyFinished(); });
        m_copy->continueInSteps();
        return;
    }
    if (!copy->succeeded())
        m_log.say(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                      .arg(from, copy->error()));
}

void ResultsStore::copyFinished()
{
    if (!m_copy->succeeded())
        m_log.say(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                      .arg(m_seedPath, m_copy->error()));
    // It is the copy's own signal that calls: the copy goes once it has returned.
    m_copy.release()->deleteLater();
    m_status = openFile(m_path, {});
}

bool ResultsStore::createTable(ResultsFile::Kind kind)
{
    if (kind == ResultsFile::Kind::Store)
        return true;
    // Another copy of the game may be creating the same table at this moment; what is found
    // then is judged whole, like any file at start-up.
    bool ok = m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    const ResultsFile::Kind found = ok ? ResultsFile::judgeSchema(*m_connection) : kind;
    if (ok && found == ResultsFile::Kind::NoTable)
        ok = m_connection->exec(ResultsSchema::createTableSql());
    ok = ok && found != ResultsFile::Kind::OtherTable
        && m_connection->exec(QStringLiteral("COMMIT"));
    if (!ok)
        m_connection->rollback();
    return ok;
}

ResultsTrouble ResultsStore::readyToWrite()
{
    using Trouble = ResultsTrouble::Kind;
    if (m_status == Status::Unavailable) {
        // What stood in the way at start-up (a lock, a full disk) may be gone now.
        open();
    }
    if (m_status == Status::Closed)
        return fail(QStringLiteral("the results file is not open"), {Trouble::NotOpen});
    if (m_status == Status::Preparing)
        return fail(QStringLiteral("%1 is still being copied").arg(m_path),
                    {Trouble::NotReady, m_path});
    if (m_status != Status::Writable)
        return fail(m_reason, m_trouble);
    if (!FileStamp::of(m_path).isSameFile(m_opened)
        || RegularFile::kindAt(m_path) != RegularFile::Kind::Regular) {
        // Deleted or swapped while the game ran: rows must not go to a file nobody sees.
        m_log.say(QStringLiteral("%1 was replaced or removed: opening it again").arg(m_path),
                  QtInfoMsg);
        const QString path = m_path;
        m_connection.reset();
        m_status = openFile(path, {});
        if (m_status != Status::Writable)
            return fail(m_reason, m_trouble);
    }
    QString why;
    ResultsTrouble side {Trouble::SideFile};
    if (!ResultsFile::sideFilesAreSafe(m_path, &why, &side.path, &side.standing))
        return fail(why, side);
    return {};
}

ResultsTrouble ResultsStore::append(const ResultRow &row, int lockWaitMs)
{
    if (const ResultsTrouble trouble = readyToWrite(); !trouble.stored())
        return trouble;
    if (lockWaitMs != AttemptWaitMs)
        m_connection->setBusyTimeout(lockWaitMs);
    const bool begun = m_connection->exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (lockWaitMs != AttemptWaitMs)
        m_connection->setBusyTimeout(AttemptWaitMs);
    const QStringList values = row.columns();
    if (begun
        && m_connection->exec(ResultsSchema::insertSql(),
                              {values[0], values[1], values[2], values[3]})
        && m_connection->exec(QStringLiteral("COMMIT")))
        return {};
    return failWriting(QStringLiteral("the row"));
}

ResultsTrouble ResultsStore::movePending(int *left)
{
    *left = 0;
    if (!PendingRows::waitFor(m_path))
        return {};
    if (const ResultsTrouble trouble = readyToWrite(); !trouble.stored())
        return trouble;
    if (PendingRows::moveInto(*m_connection, m_path, left))
        return {};
    ResultsTrouble trouble = failWriting(QStringLiteral("the pending rows"));
    // SQLite does not say which of the two files refused: the pending file when it is the
    // one that cannot be written.
    const QString pending = PendingRows::filePath();
    if (trouble.refusal() != ResultsTrouble::Refusal::Busy
        && (!ResultsFile::fileAcceptsWrites(pending)
            || !ResultsFile::folderAcceptsWrites(QFileInfo(pending).path())))
        trouble.path = pending;
    return trouble;
}

ResultsTrouble ResultsStore::troubleOf(const SqliteDb &connection) const
{
    using Trouble = ResultsTrouble::Kind;
    switch (connection.errorCode()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {Trouble::Busy, m_path};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return {Trouble::ReadOnly, m_path};
    case SQLITE_FULL:
        return {Trouble::DiskFull, m_path};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return {Trouble::Damaged, m_path};
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return {Trouble::WriteError, m_path};
    default:
        return {Trouble::Refused, m_path};
    }
}

ResultsTrouble ResultsStore::failWriting(const QString &what)
{
    const ResultsTrouble trouble = troubleOf(*m_connection);
    const QString error = m_connection->errorText();
    m_connection->rollback();
    return fail(QStringLiteral("%1 refused %2 (%3)").arg(m_path, what, error), trouble);
}

ResultsTrouble ResultsStore::fail(const QString &reason, const ResultsTrouble &trouble)
{
    if (trouble.refusal() != ResultsTrouble::Refusal::Busy)
        m_log.say(QStringLiteral("result not saved: ") + reason);
    return trouble;
}
