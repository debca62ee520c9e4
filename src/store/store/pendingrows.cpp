#include "store/pendingrows.h"

#include "files/oncelog.h"
#include "files/playerfolders.h"
#include "store/legacypending.h"
#include "store/resultsfile.h"
#include "store/resultsschema.h"
#include "store/sqlitedb.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <optional>
#include <sqlite3.h>

using ResultsSchema::columnList;

namespace {

QString createSql(const QString &schema)
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1\"tPending\" (\"file\" TEXT NOT NULL, %2)")
        .arg(schema, columnList({}, QStringLiteral(" TEXT")));
}

// A row is whole when its four values are text; anything else was not written by the game
// and is left where it is rather than stored blank.
const QString whole
    = columnList(QStringLiteral("typeof("), QStringLiteral(") = 'text'"), QStringLiteral(" AND "));
// Rows moved in one transaction: a window's moment each, however many wait.
const QString nextRows = QStringLiteral("SELECT rowid FROM pending.\"tPending\" WHERE \"file\" = ? "
                                        "AND %1 ORDER BY rowid LIMIT 2000")
                             .arg(whole);

OnceLog &log()
{
    static OnceLog said(lcResults);
    return said;
}

bool usable(const QString &path)
{
    return RegularFile::kindAt(path) == RegularFile::Kind::Regular
        && ResultsFile::sideFilesAreSafe(path);
}

} // namespace

QString PendingRows::filePath()
{
    const QString folder = PlayerFolders::data();
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(QStringLiteral("pending-results.db"));
}

bool PendingRows::add(const QString &resultsFile, const QList<QStringList> &rows, Problem *problem,
                      const QStringList &keys)
{
    Problem why {RegularFile::Kind::Regular, ENOENT, false, QStringLiteral("no data folder")};
    const QString path = filePath();
    std::optional<RegularFile> file;
    if (path.isEmpty() || !RegularFile::makeFolder(QFileInfo(path).path(), &why.error)) {
        why.log = QStringLiteral("no folder for %1").arg(path);
    } else if (file.emplace(path, RegularFile::Mode::Append); !file->isOpen()) {
        why = {file->refusedKind(), file->error(), false, file->problem()};
        why.fileRefused = RegularFile::kindAt(path) == RegularFile::Kind::Regular;
    } else if (!ResultsFile::sideFilesAreSafe(path, &why.log, nullptr, &why.standing)) {
    } else {
        SqliteDb db(path, SqliteDb::Mode::ReadWrite, WaitMs);
        bool ok = db.exec(QStringLiteral("PRAGMA synchronous=FULL"))
            && db.exec(QStringLiteral("BEGIN IMMEDIATE")) && db.exec(createSql({}))
            && db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"tTaken\" (\"key\" TEXT "
                                      "PRIMARY KEY)"));
        // Rows given with keys are added once, however often that is tried.
        int newKeys = 0;
        for (qsizetype i = 0; ok && i < keys.size(); ++i) {
            ok = db.exec(QStringLiteral("INSERT OR IGNORE INTO \"tTaken\" VALUES (?)"), {keys[i]});
            newKeys += db.changes();
        }
        const bool again = !keys.isEmpty() && newKeys == 0;
        const QString insert = QStringLiteral("INSERT INTO \"tPending\" VALUES (?, ?, ?, ?, ?)");
        for (qsizetype i = 0; ok && !again && i < rows.size(); ++i)
            ok = db.exec(insert, {resultsFile, rows[i][0], rows[i][1], rows[i][2], rows[i][3]});
        if (ok && db.exec(QStringLiteral("COMMIT"))) {
            if (file->created())
                RegularFile::syncFolder(QFileInfo(path).path());
            return true;
        }
        db.rollback();
        const int code = db.errorCode();
        why = {RegularFile::Kind::Regular,
               code == SQLITE_FULL                                      ? ENOSPC
                   : code == SQLITE_READONLY || code == SQLITE_CANTOPEN ? EACCES
                                                                        : EIO,
               db.wasBusy(), QStringLiteral("%1: %2").arg(path, db.errorText())};
        why.fileRefused = !ResultsFile::fileAcceptsWrites(path);
    }
    if (problem)
        *problem = why;
    return false;
}

bool PendingRows::remembers(const QString &key)
{
    const QString path = filePath();
    if (!usable(path))
        return false;
    SqliteDb db(path, SqliteDb::Mode::ReadOnly, WaitMs);
    QList<QStringList> found;
    return db.exec(QStringLiteral("SELECT 1 FROM \"tTaken\" WHERE \"key\" = ?"), {key}, &found)
        && !found.isEmpty();
}

bool PendingRows::waitFor(const QString &resultsFile)
{
    const QString path = filePath();
    if (!usable(path))
        return false;
    SqliteDb db(path, SqliteDb::Mode::ReadOnly, 0);
    QList<QStringList> found;
    // A file that cannot be read now may hold rows: the move will tell.
    return !db.exec(QStringLiteral("SELECT 1 FROM \"tPending\" WHERE \"file\" = ? LIMIT 1"),
                    {resultsFile}, &found)
        || !found.isEmpty();
}

bool PendingRows::moveInto(SqliteDb &results, const QString &resultsFile, int *left)
{
    *left = 0;
    const QString path = filePath();
    if (!usable(path))
        return true; // nothing waits that could be moved
    if (!results.exec(QStringLiteral("ATTACH DATABASE ? AS pending"), {path}))
        return false;
    QList<QStringList> count;
    const bool moved = results.exec(QStringLiteral("BEGIN IMMEDIATE"))
        && results.exec(createSql(QStringLiteral("pending.")))
        && results.exec(QStringLiteral("INSERT INTO main.\"tBase\" (%1) SELECT %1 FROM "
                                       "pending.\"tPending\" WHERE rowid IN (%2) ORDER BY rowid")
                            .arg(columnList(), nextRows),
                        {resultsFile})
        && results.exec(
            QStringLiteral("DELETE FROM pending.\"tPending\" WHERE rowid IN (%1)").arg(nextRows),
            {resultsFile})
        && results.exec(QStringLiteral("COMMIT"))
        && results.exec(QStringLiteral("SELECT total(%1), count(*) FROM pending.\"tPending\" "
                                       "WHERE \"file\" = ?")
                            .arg(whole),
                        {resultsFile}, &count);
    if (!moved)
        results.rollback();
    results.runKeepingError("DETACH DATABASE pending");
    if (!moved)
        return false;
    *left = int(count.value(0).value(0).toDouble());
    if (const int damaged = count.value(0).value(1).toInt() - *left; damaged > 0)
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
    if (!usable(path))
        return;
    SqliteDb db(path, SqliteDb::Mode::ReadWrite, WaitMs);
    QList<QStringList> files;
    db.exec(QStringLiteral("SELECT DISTINCT \"file\" FROM \"tPending\" WHERE \"file\" != ?"),
            {resultsFile}, &files);
    for (const QStringList &file : std::as_const(files)) {
        // A file moved, removed, replaced by another's or made read-only: its rows go where
        // this game's results go now, rather than wait for ever.
        const ResultsFile::Kind kind = ResultsFile::inspect(file[0]);
        const bool gone = kind == ResultsFile::Kind::Missing || ResultsFile::isRefused(kind)
            || (kind == ResultsFile::Kind::Store && !ResultsFile::fileAcceptsWrites(file[0]));
        if (gone
            && db.exec(QStringLiteral("UPDATE \"tPending\" SET \"file\" = ? WHERE \"file\" = ?"),
                       {resultsFile, file[0]}))
            log().say(QStringLiteral("results waiting for %1, which is gone or not used, go to %2")
                          .arg(file[0], resultsFile),
                      QtInfoMsg);
    }
}
