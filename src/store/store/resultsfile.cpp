#include "store/resultsfile.h"

#include "store/resultsschema.h"
#include "store/sqlitedb.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcResults, "seabattle.results")

// Opens the file read-only first. A program killed in the middle of a write
// leaves a journal that SQLite must play back before anyone may read, and only
// a writable connection can do that; SQLite's own recovery is then allowed to
// write, which restores the file as its last complete transaction left it.
std::unique_ptr<SqliteDb> ResultsFile::openForReading(const QString &path, int waitMs, QString *why,
                                                      Kind *failure)
{
    if (failure)
        *failure = Kind::Unreadable;
    // SQLite's own opening would wait for a writer at a pipe.
    if (RegularFile::kindAt(path) != RegularFile::Kind::Regular || !sideFilesAreSafe(path, why))
        return nullptr;
    auto probe = [](SqliteDb &connection) {
        return connection.isOpen() && connection.exec(ResultsSchema::schemaSql);
    };
    auto connection = std::make_unique<SqliteDb>(path, SqliteDb::Mode::ReadOnly, waitMs);
    if (probe(*connection))
        return connection;
    if (!connection->wasBusy() && !connection->wasDamaged() && fileAcceptsWrites(path)) {
        connection.reset();
        connection = std::make_unique<SqliteDb>(path, SqliteDb::Mode::ReadWrite, waitMs);
        if (probe(*connection))
            return connection;
    }
    if (why)
        *why = connection->errorText();
    if (failure && connection->wasBusy())
        *failure = Kind::Busy;
    if (failure && connection->wasDamaged())
        *failure = Kind::Damaged;
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

ResultsFile::Kind ResultsFile::inspect(const QString &path, QString *why, int waitMs,
                                       RegularFile::Kind *standing)
{
    QString ignored;
    QString &reason = why ? *why : ignored;
    const RegularFile::Kind kind = RegularFile::kindAt(path);
    if (standing)
        *standing = kind;
    if (kind == RegularFile::Kind::Missing)
        return Kind::Missing;
    reason = RegularFile::describe(kind);
    if (kind != RegularFile::Kind::Regular)
        return Kind::NotAFile;
    RegularFile file(path, RegularFile::Mode::Read);
    reason = file.problem();
    if (!file.isOpen())
        return file.refusedKind() == RegularFile::Kind::Regular ? Kind::Unreadable : Kind::NotAFile;
    if (file.size() == 0)
        return Kind::Blank;
    reason = QStringLiteral("not an SQLite database");
    if (file.read(0, 16) != QByteArray("SQLite format 3\0", 16))
        return Kind::NotSqlite;
    Kind failure = Kind::Unreadable;
    const auto connection = openForReading(path, waitMs, &reason, &failure);
    if (!connection)
        return failure;
    return judgeSchema(*connection, &reason);
}

ResultsFile::Kind ResultsFile::judgeSchema(SqliteDb &connection, QString *why)
{
    // The whole schema is read: the game's file holds tBase and perhaps tables of its own, and
    // nothing that could act on a row when it is added, nor anything built on tBase.
    QString ignored;
    QString &reason = why ? *why : ignored;
    QList<QStringList> objects;
    QList<QStringList> columns;
    if (!connection.exec(ResultsSchema::schemaSql, {}, &objects)
        || !connection.exec(ResultsSchema::columnsSql, {}, &columns)) {
        reason = connection.errorText();
        return connection.wasBusy() ? Kind::Busy : Kind::Unreadable;
    }
    QString odd;
    for (const QStringList &object : std::as_const(objects)) {
        const bool onTable = object[2].compare(ResultsSchema::tableName, Qt::CaseInsensitive) == 0;
        if (object[0] == QLatin1String("trigger") || object[0] == QLatin1String("view")
            || (onTable && object[0] != QLatin1String("table")))
            odd = QStringLiteral("it holds the %1 %2").arg(object[0], object[1]);
    }
    QStringList names;
    for (const QStringList &column : std::as_const(columns)) {
        names << column[0];
        if (column[1] != QLatin1String("0") || column[2] != QLatin1String("0"))
            odd = QStringLiteral("its column %1 is hidden or a key").arg(column[0]);
    }
    if (odd.isEmpty() && names.isEmpty())
        return Kind::NoTable;
    if (odd.isEmpty() && names == ResultsSchema::columns)
        return Kind::Store;
    reason = !odd.isEmpty()
        ? odd
        : QStringLiteral("its table tBase has the columns %1").arg(names.join(QLatin1String(", ")));
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
