#include "results/resultsstore.h"

#include "model/installfolder.h"
#include "results/resultsfile.h"
#include "results/resultslog.h"
#include "results/resultsschema.h"
#include "results/sqlconnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

ResultsStore::Status ResultsStore::open()
{
    close();
    const QString installFile = InstallFolder::file(ResultsSchema::fileName());
    if (!ResultsFile::folderAcceptsWrites(InstallFolder::path()))
        return m_status = openInDataFolder(installFile, false);
    m_status = openFile(installFile, {});
    if (m_status != Status::Foreign)
        return m_status;
    return m_status = openInDataFolder(installFile, true);
}

ResultsStore::Status ResultsStore::openInDataFolder(const QString &installFile,
                                                    bool installIsForeign)
{
    const QString userFile = userFilePath();
    const QString userFolder = QFileInfo(userFile).absolutePath();
    const QString shownFolder = QDir::toNativeSeparators(userFolder);
    if (!userFile.isEmpty() && QDir().mkpath(userFolder)
        && ResultsFile::folderAcceptsWrites(userFolder)) {
        const QString why = installIsForeign
            ? QStringLiteral("%1 belongs to another program").arg(installFile)
            : QStringLiteral("the folder %1 cannot be written").arg(InstallFolder::path());
        note(QStringLiteral("%1: results are kept in %2").arg(why, userFile));
        // Another program's file has no rows of ours to start the new file with.
        const Status status = openFile(userFile, installIsForeign ? QString() : installFile);
        if (status == Status::Writable
            && (installIsForeign
                || ResultsFile::inspect(installFile) == ResultsFile::Kind::Foreign))
            m_notice
                = QStringLiteral("Файл %1 принадлежит другой программе, "
                                 "игра его не трогает.\nРезультаты игр сохраняются в папке %2.")
                      .arg(QDir::toNativeSeparators(installFile), shownFolder);
        return status;
    }

    // No folder takes a new file: at least the installation's results can be shown.
    m_path = installFile;
    const QString dataFolder = userFolder.isEmpty() ? QStringLiteral("a data folder") : userFolder;
    if (installIsForeign) {
        report(QStringLiteral("%1 belongs to another program and %2 cannot be written")
                   .arg(installFile, dataFolder),
               "results of this session cannot be saved",
               QStringLiteral("файл %1 принадлежит другой программе, а в папку %2 нельзя записать")
                   .arg(QDir::toNativeSeparators(installFile), shownFolder));
        return Status::Foreign;
    }
    report(
        QStringLiteral("neither %1 nor %2 can be written").arg(InstallFolder::path(), dataFolder),
        "results of this session cannot be saved",
        QStringLiteral("ни в папку игры, ни в папку %1 нельзя записать").arg(shownFolder));
    const bool showable = ResultsFile::inspect(installFile) == ResultsFile::Kind::Store;
    return showable ? Status::ReadOnly : Status::Unavailable;
}

ResultsStore::Status ResultsStore::openFile(const QString &path, const QString &seedPath)
{
    m_path = path;
    m_seedPath = seedPath;
    QString why;
    const ResultsFile::Kind kind = ResultsFile::inspect(path, &why);
    if (kind == ResultsFile::Kind::Foreign) {
        // The caller tells where the results go instead.
        m_reason = QStringLiteral("%1 is not a results file of this game (%2)").arg(path, why);
        m_reasonForPlayer = QStringLiteral("файл %1 принадлежит другой программе")
                                .arg(QDir::toNativeSeparators(path));
        m_log.say(m_reason + QStringLiteral(" - it is left untouched"));
        return Status::Foreign;
    }
    if (kind == ResultsFile::Kind::Busy) {
        report(QStringLiteral("%1 is locked by another program").arg(path),
               "results are saved once it is free",
               QStringLiteral("файл результатов занят другой программой"));
        return Status::Unavailable;
    }
    if (kind == ResultsFile::Kind::Unreadable) {
        report(
            QStringLiteral("%1 cannot be read (%2)").arg(path, why), "no results are saved",
            QStringLiteral("файл результатов %1 не читается").arg(QDir::toNativeSeparators(path)));
        return Status::Unavailable;
    }
    if (kind != ResultsFile::Kind::Missing && !ResultsFile::fileAcceptsWrites(path)) {
        report(QStringLiteral("%1 is read-only").arg(path),
               "its results are shown, new ones cannot be saved",
               QStringLiteral("файл результатов %1 защищён от записи")
                   .arg(QDir::toNativeSeparators(path)));
        return kind == ResultsFile::Kind::Store ? Status::ReadOnly : Status::Unavailable;
    }

    m_connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadWrite);
    // FULL makes a committed row survive a power cut, not only a crash.
    if (!m_connection->isOpen() || !m_connection->exec(QStringLiteral("PRAGMA synchronous=FULL"))
        || (kind != ResultsFile::Kind::Store && !createTable(seedPath))) {
        if (m_connection->wasBusy())
            report(QStringLiteral("%1 is locked by another program").arg(path),
                   "results are saved once it is free",
                   QStringLiteral("файл результатов занят другой программой"));
        else
            report(QStringLiteral("%1 cannot be opened for writing (%2)")
                       .arg(path, m_connection->errorText()),
                   "no results are saved", SqlConnection::refusalForPlayer(m_connection.get()));
        m_connection.reset();
        return Status::Unavailable;
    }
    m_opened = FileStamp::of(m_path);
    return Status::Writable;
}

bool ResultsStore::createTable(const QString &seedPath)
{
    // The earlier results of a read-only installation come along into a new file.
    std::optional<QList<QStringList>> seed;
    if (!seedPath.isEmpty() && QFileInfo::exists(seedPath)) {
        QString why;
        seed = ResultsFile::readRows(seedPath, &why);
        if (!seed)
            note(
                QStringLiteral("earlier results in %1 cannot be taken over: %2").arg(seedPath, why),
                QtWarningMsg);
    }
    // Another copy of the game may be creating the same table at this moment.
    if (!m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE")))
        return false;
    QStringList columns;
    bool ok = m_connection->tableColumns(&columns);
    const bool creating = ok && columns.isEmpty();
    if (creating)
        ok = m_connection->exec(ResultsSchema::createTableSql());
    if (ok && creating && seed)
        ok = m_connection->insertRows(*seed);
    if (ok && !creating && columns != ResultsSchema::columns())
        ok = false; // a different tBase appeared meanwhile: leave it alone
    if (ok && m_connection->exec(QStringLiteral("COMMIT")))
        return true;
    m_connection->exec(QStringLiteral("ROLLBACK"));
    return false;
}

bool ResultsStore::append(const QString &winner, const QString &userHits, const QString &compHits,
                          const QString &level, int lockWaitMs)
{
    m_failure.clear();
    if (m_status == Status::Unavailable) {
        // What stood in the way at start-up (a lock, a full disk) may be gone now;
        // the warning below tells the outcome, so the second attempt stays quiet.
        m_quiet = true;
        open();
        m_quiet = false;
    }
    if (m_status == Status::Closed)
        return fail(QStringLiteral("the results file is not open"),
                    QStringLiteral("файл результатов не открыт"));
    if (m_status != Status::Writable)
        return fail(m_reason, m_reasonForPlayer);
    if (!FileStamp::of(m_path).isSameFile(m_opened)) {
        // Deleted or swapped while the game ran: rows must not go to a file nobody sees.
        note(QStringLiteral("%1 was replaced or removed: opening it again").arg(m_path));
        const QString path = m_path;
        const QString seedPath = m_seedPath;
        m_connection.reset();
        m_status = openFile(path, seedPath);
        if (m_status != Status::Writable)
            return fail(m_reason, m_reasonForPlayer);
    }
    if (lockWaitMs > SqlConnection::BusyTimeoutMs)
        m_connection->setBusyTimeout(lockWaitMs);
    const bool begun = m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE"));
    if (lockWaitMs > SqlConnection::BusyTimeoutMs)
        m_connection->setBusyTimeout(SqlConnection::BusyTimeoutMs);
    if (!begun) {
        if (m_connection->wasBusy())
            return fail(QStringLiteral("%1 is locked by another program").arg(m_path),
                        QStringLiteral("файл результатов занят другой программой"));
        return fail(
            QStringLiteral("%1 refused the row (%2)").arg(m_path, m_connection->errorText()),
            SqlConnection::refusalForPlayer(m_connection.get()));
    }
    if (m_connection->insertRows({{winner, userHits, compHits, level}})
        && m_connection->exec(QStringLiteral("COMMIT")))
        return true;
    const QString error = m_connection->errorText();
    const QString forPlayer = SqlConnection::refusalForPlayer(m_connection.get());
    m_connection->exec(QStringLiteral("ROLLBACK"));
    return fail(QStringLiteral("%1 refused the row (%2)").arg(m_path, error), forPlayer);
}

void ResultsStore::report(const QString &reason, const char *consequence, const QString &forPlayer)
{
    m_reason = reason;
    m_reasonForPlayer = forPlayer;
    if (!m_quiet)
        m_log.say(reason + QStringLiteral(" - ") + QLatin1String(consequence));
}

void ResultsStore::note(const QString &message, QtMsgType type)
{
    if (!m_quiet)
        m_log.say(message, type);
}

bool ResultsStore::fail(const QString &reason, const QString &forPlayer)
{
    m_failure = forPlayer;
    m_log.say(QStringLiteral("result not saved: ") + reason);
    return false;
}

void ResultsStore::close()
{
    m_connection.reset();
    m_status = Status::Closed;
    m_path.clear();
    m_seedPath.clear();
    m_reason.clear();
    m_reasonForPlayer.clear();
}
