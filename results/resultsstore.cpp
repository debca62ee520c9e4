#include "results/resultsstore.h"

#include "model/installfolder.h"
#include "results/resultsfile.h"
#include "results/resultslog.h"
#include "results/resultsschema.h"
#include "results/sqlconnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <sys/stat.h>

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
    if (ResultsFile::folderAcceptsWrites(InstallFolder::path()))
        return m_status = openFile(installFile, {});

    const QString userFile = userFilePath();
    const QString userFolder = QFileInfo(userFile).absolutePath();
    if (!userFile.isEmpty() && QDir().mkpath(userFolder)
        && ResultsFile::folderAcceptsWrites(userFolder)) {
        note(QStringLiteral("the folder %1 cannot be written: results are kept in %2")
                 .arg(InstallFolder::path(), userFile));
        return m_status = openFile(userFile, installFile);
    }

    // No folder takes a new file: at least the installation's results can be shown.
    m_path = installFile;
    report(QStringLiteral("neither %1 nor %2 can be written")
               .arg(InstallFolder::path(), userFolder.isEmpty() ? "a data folder" : userFolder),
           "results of this session cannot be saved");
    const bool showable = ResultsFile::inspect(installFile) == ResultsFile::Kind::Store;
    return m_status = showable ? Status::ReadOnly : Status::Unavailable;
}

ResultsStore::Status ResultsStore::openFile(const QString &path, const QString &seedPath)
{
    m_path = path;
    m_seedPath = seedPath;
    QString why;
    const ResultsFile::Kind kind = ResultsFile::inspect(path, &why);
    if (kind == ResultsFile::Kind::Foreign) {
        report(QStringLiteral("%1 is not a results file of this game (%2)").arg(path, why),
               "it is left untouched, no results are saved");
        return Status::Foreign;
    }
    if (kind == ResultsFile::Kind::Unreadable) {
        report(QStringLiteral("%1 cannot be read (%2)").arg(path, why), "no results are saved");
        return Status::Unavailable;
    }
    if (kind != ResultsFile::Kind::Missing && !ResultsFile::fileAcceptsWrites(path)) {
        report(QStringLiteral("%1 is read-only").arg(path),
               "its results are shown, new ones cannot be saved");
        return kind == ResultsFile::Kind::Store ? Status::ReadOnly : Status::Unavailable;
    }

    m_connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadWrite);
    // FULL makes a committed row survive a power cut, not only a crash.
    if (!m_connection->isOpen() || !m_connection->exec(QStringLiteral("PRAGMA synchronous=FULL"))
        || (kind != ResultsFile::Kind::Store && !createTable(seedPath))) {
        report(QStringLiteral("%1 cannot be opened for writing (%2)")
                   .arg(path, m_connection->errorText()),
               "no results are saved");
        m_connection.reset();
        return Status::Unavailable;
    }
    rememberFileIdentity();
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
    if (ok && creating && seed) {
        QSqlQuery insert(m_connection->database());
        ok = insert.prepare(ResultsSchema::insertSql());
        for (auto row = seed->cbegin(); ok && row != seed->cend(); ++row) {
            for (const QString &value : *row)
                insert.addBindValue(value);
            ok = insert.exec();
        }
    }
    if (ok && !creating && columns != ResultsSchema::columns())
        ok = false; // a different tBase appeared meanwhile: leave it alone
    if (ok && m_connection->exec(QStringLiteral("COMMIT")))
        return true;
    m_connection->exec(QStringLiteral("ROLLBACK"));
    return false;
}

bool ResultsStore::append(const QString &winner, const QString &userHits, const QString &compHits,
                          const QString &level)
{
    if (m_status == Status::Unavailable) {
        // What stood in the way at start-up (a lock, a full disk) may be gone now;
        // the warning below tells the outcome, so the second attempt stays quiet.
        m_quiet = true;
        open();
        m_quiet = false;
    }
    if (m_status != Status::Writable)
        return fail(m_status == Status::Closed ? QStringLiteral("the results file is not open")
                                               : m_reason);
    if (!sameFileAsOpened()) {
        // Deleted or swapped while the game ran: rows must not go to a file nobody sees.
        note(QStringLiteral("%1 was replaced or removed: opening it again").arg(m_path));
        const QString path = m_path;
        const QString seedPath = m_seedPath;
        m_connection.reset();
        m_status = openFile(path, seedPath);
        if (m_status != Status::Writable)
            return fail(m_reason);
    }
    if (!m_connection->exec(QStringLiteral("BEGIN EXCLUSIVE")))
        return fail(QStringLiteral("%1 stayed busy (%2)").arg(m_path, m_connection->errorText()));
    QString error;
    {
        QSqlQuery insert(m_connection->database());
        insert.prepare(ResultsSchema::insertSql());
        for (const QString &value : {winner, userHits, compHits, level})
            insert.addBindValue(value);
        if (!insert.exec())
            error = insert.lastError().text();
    }
    if (error.isEmpty() && m_connection->exec(QStringLiteral("COMMIT")))
        return true;
    if (error.isEmpty())
        error = m_connection->errorText();
    m_connection->exec(QStringLiteral("ROLLBACK"));
    return fail(QStringLiteral("%1 refused the row (%2)").arg(m_path, error));
}

void ResultsStore::report(const QString &reason, const char *consequence)
{
    m_reason = reason;
    if (!m_quiet)
        qCWarning(lcResults).noquote() << reason << "-" << consequence;
}

void ResultsStore::note(const QString &message, QtMsgType type)
{
    if (m_quiet)
        return;
    if (type == QtWarningMsg)
        qCWarning(lcResults).noquote() << message;
    else
        qCInfo(lcResults).noquote() << message;
}

bool ResultsStore::fail(const QString &reason)
{
    qCWarning(lcResults).noquote() << "result not saved:" << reason;
    return false;
}

void ResultsStore::rememberFileIdentity()
{
    struct stat info = {};
    if (::stat(QFile::encodeName(m_path).constData(), &info) == 0) {
        m_device = info.st_dev;
        m_inode = info.st_ino;
    }
}

bool ResultsStore::sameFileAsOpened() const
{
    struct stat info = {};
    return ::stat(QFile::encodeName(m_path).constData(), &info) == 0 && info.st_dev == m_device
        && info.st_ino == m_inode;
}

void ResultsStore::close()
{
    m_connection.reset();
    m_status = Status::Closed;
    m_path.clear();
    m_seedPath.clear();
    m_reason.clear();
}
