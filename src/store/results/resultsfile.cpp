#include "results/resultsfile.h"

#include "results/resultsschema.h"
#include "results/sqlconnection.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

// Opens the file read-only first. A program killed in the middle of a write
// leaves a journal that SQLite must play back before anyone may read, and only
// a writable connection can do that; SQLite's own recovery is then allowed to
// write, which restores the file as its last complete transaction left it.
std::unique_ptr<SqlConnection> ResultsFile::openForReading(const QString &path, int waitMs,
                                                           QString *why, bool *busy, bool *damaged)
{
    if (busy)
        *busy = false;
    if (damaged)
        *damaged = false;
    if (RegularFile::kindAt(path) != RegularFile::Kind::Regular) {
        if (why)
            *why = QStringLiteral("not a regular file");
        return nullptr;
    }
    if (!sideFilesAreSafe(path, why))
        return nullptr;
    auto probe = [](SqlConnection &connection) {
        QStringList columns;
        return connection.isOpen() && connection.tableColumns(&columns);
    };
    auto connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadOnly, waitMs);
    if (probe(*connection))
        return connection;
    if (!connection->wasBusy() && !connection->wasDamaged() && fileAcceptsWrites(path)) {
        connection.reset();
        connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadWrite, waitMs);
        if (probe(*connection))
            return connection;
    }
    if (why)
        *why = connection->errorText();
    if (busy)
        *busy = connection->wasBusy();
    if (damaged)
        *damaged = connection->wasDamaged();
    return nullptr;
}

bool ResultsFile::sideFilesAreSafe(const QString &path, QString *why, QString *which,
                                   RegularFile::Kind *standing)
{
    for (const char *suffix : {"-journal", "-wal", "-shm"}) {
        const QString side = path + QLatin1String(suffix);
        const RegularFile::Kind kind = RegularFile::kindAt(side);
        if (kind == RegularFile::Kind::Missing || kind == RegularFile::Kind::Regular)
            continue;
        if (why)
            *why = QStringLiteral("%1 is %2").arg(side, RegularFile::describe(kind));
        if (which)
            *which = side;
        if (standing)
            *standing = kind;
        return false;
    }
    return true;
}

bool ResultsFile::hasSqliteHeader(const QString &path)
{
    RegularFile file(path, RegularFile::Mode::Read);
    static const QByteArray magic("SQLite format 3\0", 16);
    return file.isOpen() && file.read(0, 16) == magic;
}

ResultsFile::Kind ResultsFile::inspect(const QString &path, QString *why, int waitMs,
                                       RegularFile::Kind *standing)
{
    const RegularFile::Kind kind = RegularFile::kindAt(path);
    if (standing)
        *standing = kind;
    if (kind == RegularFile::Kind::Missing)
        return Kind::Missing;
    if (kind != RegularFile::Kind::Regular) {
        if (why)
            *why = RegularFile::describe(kind);
        return Kind::NotAFile;
    }
    RegularFile file(path, RegularFile::Mode::Read);
    if (!file.isOpen()) {
        if (why)
            *why = file.problem();
        return file.refusedKind() == RegularFile::Kind::Regular ? Kind::Unreadable : Kind::NotAFile;
    }
    if (file.size() == 0)
        return Kind::Blank;
    if (!hasSqliteHeader(path)) {
        if (why)
            *why = QStringLiteral("not an SQLite database");
        return Kind::NotSqlite;
    }
    if (!sideFilesAreSafe(path, why))
        return Kind::Unreadable;
    bool busy = false;
    bool damaged = false;
    const auto connection = openForReading(path, waitMs, why, &busy, &damaged);
    if (!connection)
        return busy ? Kind::Busy : damaged ? Kind::Damaged : Kind::Unreadable;
    QStringList columns;
    connection->tableColumns(&columns);
    if (columns.isEmpty())
        return Kind::NoTable;
    if (columns == ResultsSchema::columns())
        return Kind::Store;
    if (why)
        *why = QStringLiteral("its table %1 has the columns %2")
                   .arg(ResultsSchema::tableName(), columns.join(QLatin1String(", ")));
    return Kind::OtherTable;
}

bool ResultsFile::folderAcceptsWrites(const QString &folder)
{
    // access() answers for this user, a read-only mount and an immutable folder
    // alike; a root user really may write into a folder without write bits.
    return QFileInfo(folder).isDir()
        && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

bool ResultsFile::fileAcceptsWrites(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}
