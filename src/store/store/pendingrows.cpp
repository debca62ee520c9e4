#include "store/pendingrows.h"

#include "files/oncelog.h"
#include "store/legacypending.h"
#include "store/resultsfile.h"
#include "store/resultslog.h"
#include "store/resultsschema.h"
#include "store/sqlitedb.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>

namespace {

QString valueColumns(const QString &prefix = {})
{
    QStringList parts;
    for (const QString &column : ResultsSchema::columns())
        parts << prefix + ResultsSchema::quoted(column);
    return parts.join(QLatin1String(", "));
}

QString createSql()
{
    QStringList parts {QStringLiteral("\"file\" TEXT NOT NULL")};
    for (const QString &column : ResultsSchema::columns())
        parts << ResultsSchema::quoted(column) + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS \"tPending\" (%1)")
        .arg(parts.join(QLatin1String(", ")));
}

// A row is whole when its four values are text; anything else was not written by the game
// and is left where it is rather than stored blank.
QString wholeValues()
{
    QStringList parts;
    for (const QString &column : ResultsSchema::columns())
        parts << QStringLiteral("typeof(%1) = 'text'").arg(ResultsSchema::quoted(column));
    return parts.join(QLatin1String(" AND "));
}

// Rows moved in one transaction: a window's moment each, however many wait.
constexpr int RowsPerMove = 2000;

int errnoOf(const SqliteDb &db)
{
    switch (db.errorCode()) {
    case SqliteDb::Full:
        return ENOSPC;
    case SqliteDb::ReadOnlyFile:
    case SqliteDb::Perm:
    case SqliteDb::CantOpen:
        return EACCES;
    default:
        return EIO;
    }
}

OnceLog &log()
{
    static OnceLog said(lcResults);
    return said;
}

} // namespace

QString PendingRows::filePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(QStringLiteral("pending-results.db"));
}

bool PendingRows::add(const QString &resultsFile, const QList<QStringList> &rows, Problem *problem,
                      const QString &takenKey)
{
    Problem why;
    const QString path = filePath();
    if (path.isEmpty() || !RegularFile::makeFolder(QFileInfo(path).path(), &why.error)) {
        why.error = path.isEmpty() ? ENOENT : why.error;
        why.log = QStringLiteral("no folder for %1")
                      .arg(path.isEmpty() ? QStringLiteral("pending-results.db") : path);
    } else if (RegularFile file(path, RegularFile::Mode::Append); !file.isOpen()) {
        why = {file.refusedKind(), file.error(), false, file.problem()};
    } else if (QString side; !ResultsFile::sideFilesAreSafe(path, &why.log, &side, &why.standing)) {
    } else {
        SqliteDb db(path, SqliteDb::Mode::ReadWrite, WaitMs);
        bool ok = db.exec(QStringLiteral("PRAGMA synchronous=FULL"))
            && db.exec(QStringLiteral("BEGIN IMMEDIATE")) && db.exec(createSql());
        const QString insert
            = QStringLiteral("INSERT INTO \"tPending\" (\"file\", %1) VALUES (?, ?, ?, ?, ?)")
                  .arg(valueColumns());
        // Rows taken over from an older file are added once, however often that is tried.
        if (ok && !takenKey.isEmpty())
            ok = db.exec(QStringLiteral(
                     "CREATE TABLE IF NOT EXISTS \"tTaken\" (\"key\" TEXT PRIMARY KEY)"))
                && db.exec(QStringLiteral("INSERT OR IGNORE INTO \"tTaken\" VALUES (?)"),
                           {takenKey});
        const bool taken = !takenKey.isEmpty() && db.changes() == 0;
        for (qsizetype i = 0; ok && !taken && i < rows.size(); ++i)
            ok = db.exec(insert,
                         {resultsFile, rows[i].value(0), rows[i].value(1), rows[i].value(2),
                          rows[i].value(3)});
        if (ok && db.exec(QStringLiteral("COMMIT"))) {
            if (file.created())
                RegularFile::syncFolder(QFileInfo(path).path());
            return true;
        }
        db.rollback();
        why = {RegularFile::Kind::Regular, errnoOf(db), db.wasBusy(),
               QStringLiteral("%1: %2").arg(path, db.errorText())};
    }
    if (problem)
        *problem = why;
    return false;
}

bool PendingRows::moveInto(SqliteDb &results, const QString &resultsFile, int *left)
{
    *left = 0;
    const QString path = filePath();
    if (path.isEmpty() || RegularFile::kindAt(path) != RegularFile::Kind::Regular
        || !ResultsFile::sideFilesAreSafe(path))
        return true; // nothing waits that could be moved
    if (!results.exec(QStringLiteral("ATTACH DATABASE ? AS pending"), {path}))
        return false;
    const QString next = QStringLiteral("SELECT rowid FROM pending.\"tPending\" WHERE \"file\" = ? "
                                        "AND %1 ORDER BY rowid LIMIT %2")
                             .arg(wholeValues())
                             .arg(RowsPerMove);
    QList<QStringList> count;
    const bool moved = results.exec(QStringLiteral("BEGIN IMMEDIATE"))
        && results.exec(createSql().replace(QLatin1String("EXISTS \"tPending\""),
                                            QLatin1String("EXISTS pending.\"tPending\"")))
        && results.exec(
            QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM pending.\"tPending\" "
                           "WHERE rowid IN (%3) ORDER BY rowid")
                .arg(ResultsSchema::quoted(ResultsSchema::tableName()), valueColumns(), next),
            {resultsFile})
        && results.exec(
            QStringLiteral("DELETE FROM pending.\"tPending\" WHERE rowid IN (%1)").arg(next),
            {resultsFile})
        && results.exec(QStringLiteral("COMMIT"))
        && results.exec(
            QStringLiteral(
                "SELECT total(%1), count(*) FROM pending.\"tPending\" WHERE \"file\" = ?")
                .arg(wholeValues()),
            {resultsFile}, &count);
    if (!moved)
        results.rollback();
    results.runKeepingError("DETACH DATABASE pending");
    if (!moved)
        return false;
    *left = int(count.value(0).value(0).toDouble());
    const int damaged = count.value(0).value(1).toInt() - *left;
    if (damaged > 0)
        log().say(QStringLiteral("%1 row(s) in %2 are damaged and are not stored in %3")
                      .arg(damaged)
                      .arg(path, resultsFile));
    return true;
}

void PendingRows::tidyUp(const QString &resultsFile)
{
    const QString path = filePath();
    if (path.isEmpty())
        return;
    LegacyPending::takeOver(QFileInfo(path).path(), resultsFile);
    if (RegularFile::kindAt(path) != RegularFile::Kind::Regular
        || !ResultsFile::sideFilesAreSafe(path))
        return;
    SqliteDb db(path, SqliteDb::Mode::ReadWrite, WaitMs);
    QList<QStringList> files;
    db.exec(QStringLiteral("SELECT DISTINCT \"file\" FROM \"tPending\" WHERE \"file\" != ?"),
            {resultsFile}, &files);
    for (const QStringList &file : std::as_const(files)) {
        // A file that was moved, removed or replaced by another's: its rows go where this
        // game's results now go, rather than wait for ever.
        const ResultsFile::Kind kind = ResultsFile::inspect(file[0]);
        if (kind != ResultsFile::Kind::Missing && !ResultsFile::isRefused(kind)
            && (kind != ResultsFile::Kind::Store || ResultsFile::fileAcceptsWrites(file[0])))
            continue;
        if (db.exec(QStringLiteral("UPDATE \"tPending\" SET \"file\" = ? WHERE \"file\" = ?"),
                    {resultsFile, file[0]}))
            log().say(QStringLiteral("results waiting for %1, which is gone or not used, go to %2")
                          .arg(file[0], resultsFile),
                      QtInfoMsg);
    }
}
