#include "results/resultsstore.h"

#include "files/installfolder.h"
#include "results/playerwording.h"
#include "results/resultsfilecopy.h"
#include "results/resultsnotice.h"
#include "results/resultsschema.h"
#include "results/shownnotices.h"
#include "results/sqlconnection.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

std::optional<bool> &systemWideForTesting()
{
    static std::optional<bool> systemWide;
    return systemWide;
}

} // namespace

ResultsStore::ResultsStore() = default;

ResultsStore::~ResultsStore()
{
    close();
}

QString ResultsStore::userFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(ResultsSchema::fileName());
}

void ResultsStore::setSystemWideForTesting(std::optional<bool> systemWide)
{
    systemWideForTesting() = systemWide;
}

QString ResultsStore::listedFile() const
{
    if (m_status == Status::Preparing)
        return m_seedPath;
    return m_status == Status::Foreign ? QString() : m_path;
}

ResultsStore::Status ResultsStore::open()
{
    close();
    // A second opening comes while the window is shown.
    m_waitMs = m_quiet ? AttemptWaitMs : StartUpWaitMs;
    const QString installFile = InstallFolder::file(ResultsSchema::fileName());
    // An installed game keeps its results in the player's data folder, also where it could
    // write to its own folders (run by root): nothing is written under its prefix.
    const bool systemWide = systemWideForTesting().value_or(InstallFolder::isSystemWide());
    if (systemWide || !ResultsFile::folderAcceptsWrites(InstallFolder::path())) {
        m_status = openInDataFolder(installFile, false);
    } else {
        m_status = openFile(installFile, {});
        if (m_status == Status::Foreign)
            m_status = openInDataFolder(installFile, true);
    }
    m_waitMs = AttemptWaitMs;
    if (m_connection)
        m_connection->setBusyTimeout(AttemptWaitMs);
    return m_status;
}

ResultsStore::Status ResultsStore::openInDataFolder(const QString &installFile, bool installRefused)
{
    const QString userFile = userFilePath();
    const QString userFolder = QFileInfo(userFile).absolutePath();
    // The data folder is where a system-wide installation keeps results: nothing to tell.
    const bool systemWide = systemWideForTesting().value_or(InstallFolder::isSystemWide());
    if (!userFile.isEmpty() && RegularFile::makeFolder(userFolder)
        && ResultsFile::folderAcceptsWrites(userFolder)) {
        QString seed;
        if (!installRefused) {
            QString why;
            RegularFile::Kind standing = RegularFile::Kind::Regular;
            const ResultsFile::Kind kind
                = ResultsFile::inspect(installFile, &why, m_waitMs, &standing);
            if (kind == ResultsFile::Kind::Store)
                seed = installFile;
            installRefused = ResultsFile::isRefused(kind);
            if (installRefused)
                noteRefusedFile(installFile, kind, why);
            m_refusedStanding = standing;
            if (kind == ResultsFile::Kind::Unreadable || kind == ResultsFile::Kind::Busy)
                note(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                         .arg(installFile, why),
                     QtWarningMsg);
        }
        if (!systemWide)
            note(QStringLiteral("%1: results are kept in %2")
                     .arg(installRefused ? QStringLiteral("%1 is not used").arg(installFile)
                                         : QStringLiteral("the folder %1 cannot be written")
                                               .arg(InstallFolder::path()),
                          userFile));
        const Status status = openFile(userFile, seed);
        if ((status == Status::Writable || status == Status::Preparing) && !systemWide)
            noticeWhereResultsGo(installFile, installRefused);
        return status;
    }

    // No folder takes a new file: at least the installation's results can be shown.
    m_path = installFile;
    const QString dataFolder = userFolder.isEmpty() ? QStringLiteral("a data folder") : userFolder;
    if (installRefused) {
        report(
            QStringLiteral("%1 is not used and %2 cannot be written").arg(installFile, dataFolder),
            "results of this session cannot be saved",
            QStringLiteral("файл %1 не подходит для результатов, а в папку %2 нельзя записать")
                .arg(PlayerWording::path(installFile), PlayerWording::path(userFolder)));
        return Status::Foreign;
    }
    report(
        QStringLiteral("neither %1 nor %2 can be written").arg(InstallFolder::path(), dataFolder),
        "results of this session cannot be saved",
        QStringLiteral("ни в папку игры %1, ни в папку %2 нельзя записать")
            .arg(PlayerWording::path(InstallFolder::path()), PlayerWording::path(userFolder)));
    const bool showable
        = ResultsFile::inspect(installFile, nullptr, m_waitMs) == ResultsFile::Kind::Store;
    return showable ? Status::ReadOnly : Status::Unavailable;
}

void ResultsStore::noteRefusedFile(const QString &path, ResultsFile::Kind kind, const QString &why)
{
    m_refusedKind = kind;
    m_reason = ResultsNotice::refusedForLog(path, kind, why);
    m_log.say(m_reason + QStringLiteral(" - it is left untouched"));
}

void ResultsStore::noticeWhereResultsGo(const QString &installFile, bool installRefused)
{
    const ResultsNotice::Notice notice = installRefused
        ? ResultsNotice::refusedFile(installFile, m_refusedKind, m_refusedStanding, m_path)
        : ResultsNotice::readOnlyFolder(InstallFolder::path(), m_path);
    if (ShownNotices::contains(notice.key))
        return;
    m_notice = notice.text;
    m_noticeKey = notice.key;
}

QString ResultsStore::takeNotice()
{
    if (!m_notice.isEmpty())
        ShownNotices::add(m_noticeKey);
    return std::exchange(m_notice, QString());
}

ResultsStore::Status ResultsStore::openFile(const QString &path, const QString &seedPath)
{
    m_path = path;
    m_seedPath = seedPath;
    QString why;
    RegularFile::Kind standing = RegularFile::Kind::Regular;
    const ResultsFile::Kind kind = ResultsFile::inspect(path, &why, m_waitMs, &standing);
    if (ResultsFile::isRefused(kind)) {
        // The caller tells where the results go instead.
        m_refusedStanding = standing;
        noteRefusedFile(path, kind, why);
        m_reasonForPlayer
            = QStringLiteral("файл %1 не подходит для результатов").arg(PlayerWording::path(path));
        m_lasting = Refusal::Lasting;
        return Status::Foreign;
    }
    if (kind == ResultsFile::Kind::Busy) {
        // Only slow: the first result tries again.
        report(QStringLiteral("%1 is locked by another connection").arg(path),
               "results are saved once it is free",
               QStringLiteral("файл %1 занят").arg(PlayerWording::path(path)), Refusal::Busy);
        return Status::Unavailable;
    }
    if (kind == ResultsFile::Kind::Unreadable) {
        QString side;
        RegularFile::Kind sideKind = RegularFile::Kind::Regular;
        if (!ResultsFile::sideFilesAreSafe(path, nullptr, &side, &sideKind))
            report(QStringLiteral("%1 cannot be used: %2").arg(path, why), "no results are saved",
                   QStringLiteral("на месте файла %1 находится %2")
                       .arg(PlayerWording::path(side), PlayerWording::fileKind(sideKind)));
        else
            report(QStringLiteral("%1 cannot be read (%2)").arg(path, why), "no results are saved",
                   QStringLiteral("файл %1 не читается").arg(PlayerWording::path(path)));
        return Status::Unavailable;
    }
    if (kind == ResultsFile::Kind::Missing && !seedPath.isEmpty()) {
        startCopy(seedPath, path);
        if (m_copy)
            return Status::Preparing;
        return openFile(path, {}); // a small file is copied at once
    }
    if (kind != ResultsFile::Kind::Missing && !ResultsFile::fileAcceptsWrites(path)) {
        report(QStringLiteral("%1 is read-only").arg(path),
               "its results are shown, new ones cannot be saved",
               QStringLiteral("файл %1 защищен от записи").arg(PlayerWording::path(path)));
        return kind == ResultsFile::Kind::Store ? Status::ReadOnly : Status::Unavailable;
    }

    m_connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadWrite, m_waitMs);
    // FULL makes a committed row survive a power cut, not only a crash.
    if (!m_connection->isOpen() || !m_connection->exec(QStringLiteral("PRAGMA synchronous=FULL"))
        || (kind != ResultsFile::Kind::Store && !createTable(seedPath))) {
        if (m_connection->wasBusy())
            report(QStringLiteral("%1 is locked by another connection").arg(path),
                   "results are saved once it is free",
                   QStringLiteral("файл %1 занят").arg(PlayerWording::path(path)), Refusal::Busy);
        else
            report(QStringLiteral("%1 cannot be opened for writing (%2)")
                       .arg(path, m_connection->errorText()),
                   "no results are saved", SqlConnection::refusalForPlayer(*m_connection, path));
        m_connection.reset();
        return Status::Unavailable;
    }
    // SQLite follows a link; one put at the name while the file was being made is not used.
    if (RegularFile::kindAt(path) != RegularFile::Kind::Regular) {
        m_connection.reset();
        return openFile(path, seedPath);
    }
    m_opened = FileStamp::of(m_path);
    return Status::Writable;
}

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
        note(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                 .arg(from, copy->error()),
             QtWarningMsg);
}

void ResultsStore::copyFinished()
{
    if (!m_copy->succeeded())
        note(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                 .arg(m_seedPath, m_copy->error()),
             QtWarningMsg);
    // It is the copy's own signal that calls: the copy goes once it has returned.
    m_copy.release()->deleteLater();
    m_status = openFile(m_path, {});
    if (m_connection)
        m_connection->setBusyTimeout(AttemptWaitMs);
}

bool ResultsStore::createTable(const QString &seedPath)
{
    // The earlier results of a read-only installation come along into an existing empty
    // file, row by row inside SQLite, so no table is ever held in memory.
    const bool seeding = !seedPath.isEmpty() && m_connection->attach(seedPath);
    if (!seedPath.isEmpty() && !seeding)
        note(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                 .arg(seedPath, m_connection->errorText()),
             QtWarningMsg);
    // Another copy of the game may be creating the same table at this moment.
    bool ok = m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    QStringList columns;
    ok = ok && m_connection->tableColumns(&columns);
    const bool creating = ok && columns.isEmpty();
    if (creating)
        ok = m_connection->exec(ResultsSchema::createTableSql());
    if (ok && creating && seeding)
        ok = m_connection->exec(ResultsSchema::copySeedSql());
    if (ok && !creating && columns != ResultsSchema::columns())
        ok = false; // a different tBase appeared meanwhile: leave it alone
    ok = ok && m_connection->exec(QStringLiteral("COMMIT"));
    if (!ok)
        m_connection->rollback();
    if (seeding)
        m_connection->detach();
    return ok;
}

bool ResultsStore::readyToWrite()
{
    m_failure.clear();
    m_refusal = Refusal::None;
    if (m_status == Status::Unavailable) {
        // What stood in the way at start-up (a lock, a full disk) may be gone now;
        // the warning of a refused row tells the outcome, so the second attempt stays quiet.
        m_quiet = true;
        open();
        m_quiet = false;
    }
    if (m_status == Status::Closed)
        return fail(QStringLiteral("the results file is not open"),
                    QStringLiteral("файл результатов не открыт"), Refusal::Lasting);
    if (m_status == Status::Preparing)
        return fail(QStringLiteral("%1 is still being copied").arg(m_path),
                    QStringLiteral("файл %1 еще не готов").arg(PlayerWording::path(m_path)),
                    Refusal::Busy);
    if (m_status != Status::Writable)
        return fail(m_reason, m_reasonForPlayer, m_lasting);
    if (!FileStamp::of(m_path).isSameFile(m_opened)
        || RegularFile::kindAt(m_path) != RegularFile::Kind::Regular) {
        // Deleted or swapped while the game ran: rows must not go to a file nobody sees.
        note(QStringLiteral("%1 was replaced or removed: opening it again").arg(m_path));
        const QString path = m_path;
        m_connection.reset();
        m_status = openFile(path, {});
        if (m_connection)
            m_connection->setBusyTimeout(AttemptWaitMs);
        if (m_status != Status::Writable)
            return fail(m_reason, m_reasonForPlayer, m_lasting);
    }
    QString why;
    QString side;
    RegularFile::Kind sideKind = RegularFile::Kind::Regular;
    if (!ResultsFile::sideFilesAreSafe(m_path, &why, &side, &sideKind))
        return fail(why,
                    QStringLiteral("на месте файла %1 находится %2")
                        .arg(PlayerWording::path(side), PlayerWording::fileKind(sideKind)),
                    Refusal::Lasting);
    return true;
}

bool ResultsStore::append(const ResultRow &row, int lockWaitMs)
{
    if (!readyToWrite())
        return false;
    if (lockWaitMs != AttemptWaitMs)
        m_connection->setBusyTimeout(lockWaitMs);
    const bool begun = m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    if (lockWaitMs != AttemptWaitMs)
        m_connection->setBusyTimeout(AttemptWaitMs);
    if (!begun)
        return failWriting(QStringLiteral("the row"));
    if (m_connection->insertRows({row.columns()}) && m_connection->exec(QStringLiteral("COMMIT")))
        return true;
    return failWriting(QStringLiteral("the row"));
}

bool ResultsStore::appendPending(const QList<PendingResults::Row> &rows, QSet<QString> *taken)
{
    taken->clear();
    if (rows.isEmpty())
        return true;
    if (!readyToWrite())
        return false;
    QList<std::pair<QString, QStringList>> identified;
    for (const PendingResults::Row &row : rows)
        identified.append({row.id, row.values});
    if (!m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE"))
        || !m_connection->insertRowsOnce(identified)
        || !m_connection->exec(QStringLiteral("COMMIT")))
        return failWriting(QStringLiteral("the pending rows"));
    for (const PendingResults::Row &row : rows)
        taken->insert(row.id);
    return true;
}

bool ResultsStore::failWriting(const QString &what)
{
    const QString error = m_connection->errorText();
    const bool busy = m_connection->wasBusy();
    const int code = m_connection->errorCode();
    const QString forPlayer = SqlConnection::refusalForPlayer(*m_connection, m_path);
    m_connection->rollback();
    if (busy)
        return fail(QStringLiteral("%1 is locked by another connection").arg(m_path), forPlayer,
                    Refusal::Busy);
    // SQLITE_IOERR, SQLITE_FULL, SQLITE_CANTOPEN: the disk may take the row later.
    const bool transient = code == 10 || code == 13 || code == 14;
    return fail(QStringLiteral("%1 refused %2 (%3)").arg(m_path, what, error), forPlayer,
                transient ? Refusal::Transient : Refusal::Lasting);
}

void ResultsStore::report(const QString &reason, const char *consequence, const QString &forPlayer,
                          Refusal refusal)
{
    m_reason = reason;
    m_reasonForPlayer = forPlayer;
    m_lasting = refusal;
    // A lock is only a wait: it is no problem until it outlasts the patience of a saved row.
    if (!m_quiet && refusal != Refusal::Busy)
        m_log.say(reason + QStringLiteral(" - ") + QLatin1String(consequence));
}

void ResultsStore::note(const QString &message, QtMsgType type)
{
    if (!m_quiet)
        m_log.say(message, type);
}

bool ResultsStore::fail(const QString &reason, const QString &forPlayer, Refusal refusal)
{
    m_failure = forPlayer;
    m_refusal = refusal;
    if (refusal != Refusal::Busy)
        m_log.say(QStringLiteral("result not saved: ") + reason);
    return false;
}

void ResultsStore::close()
{
    m_copy.reset();
    m_connection.reset();
    m_status = Status::Closed;
    m_path.clear();
    m_seedPath.clear();
    m_reason.clear();
    m_reasonForPlayer.clear();
    m_lasting = Refusal::Lasting;
}
