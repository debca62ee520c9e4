#include "store/resultsstore.h"

#include "files/installfolder.h"
#include "files/playerfolders.h"
#include "store/legacypending.h"
#include "store/pendingrows.h"
#include "store/resultsfilecopy.h"
#include "store/resultsschema.h"
#include "store/sqlitedb.h"

#include <QDir>
#include <QFileInfo>

ResultsStore::ResultsStore() = default;

ResultsStore::~ResultsStore()
{
    close();
}

QString ResultsStore::userFilePath()
{
    const QString folder = PlayerFolders::data();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(ResultsSchema::fileName);
}

QString ResultsStore::listedFile() const
{
    if (m_status == Status::Preparing)
        return m_seedPath;
    return m_status == Status::Foreign ? QString() : m_path;
}

ResultsStore::Status ResultsStore::open()
{
    // A second opening comes while the window is shown.
    m_waitMs = m_status == Status::Closed ? StartUpWaitMs : AttemptWaitMs;
    close();
    const QString installFile = InstallFolder::file(ResultsSchema::fileName);
    // An installed game keeps its results in the player's data folder, also where it could
    // write to its own folders (run by root): nothing is written under its prefix.
    if (InstallFolder::isSystemWide() || !ResultsFile::folderAcceptsWrites(InstallFolder::path())) {
        m_status = openInDataFolder(installFile, false);
    } else {
        m_status = openFile(installFile, {});
        if (m_status == Status::Foreign)
            m_status = openInDataFolder(installFile, true);
    }
    m_waitMs = AttemptWaitMs;
    if (m_connection) {
        m_connection->setBusyTimeout(AttemptWaitMs);
        m_connection->setTimeLimit(StatementLimitMs);
    }
    return m_status;
}

ResultsStore::Status ResultsStore::openInDataFolder(const QString &installFile, bool installRefused)
{
    const QString userFile = userFilePath();
    const QString userFolder = QFileInfo(userFile).absolutePath();
    if (!userFile.isEmpty() && RegularFile::makeFolder(userFolder)
        && ResultsFile::folderAcceptsWrites(userFolder)) {
        QString seed;
        if (!installRefused) {
            QString why;
            const ResultsFile::Kind kind
                = ResultsFile::inspect(installFile, &why, m_waitMs, &m_refusedStanding);
            if (kind == ResultsFile::Kind::Store)
                seed = installFile;
            installRefused = ResultsFile::isRefused(kind);
            if (installRefused)
                noteRefusedFile(installFile, kind, why);
            if (kind == ResultsFile::Kind::Unreadable || kind == ResultsFile::Kind::Busy)
                m_log.say(QStringLiteral("earlier results in %1 cannot be taken over: %2")
                              .arg(installFile, why));
        }
        // The data folder is where a system-wide installation keeps results: nothing to tell.
        if (!InstallFolder::isSystemWide())
            m_log.say(QStringLiteral("%1: results are kept in %2")
                          .arg(installRefused ? QStringLiteral("%1 is not used").arg(installFile)
                                              : QStringLiteral("the folder %1 cannot be written")
                                                    .arg(InstallFolder::path()),
                               userFile),
                      QtInfoMsg);
        const Status status = openFile(userFile, seed);
        const bool takesRows = status == Status::Writable || status == Status::Preparing;
        if (takesRows && !InstallFolder::isSystemWide()) {
            const FileStamp stamp = FileStamp::of(installFile);
            const ResultsNotice notice = installRefused
                ? ResultsNotice {ResultsNotice::Kind::RefusedFile,
                                 installFile,
                                 m_refusedKind,
                                 m_refusedStanding,
                                 m_path,
                                 QStringLiteral("refused %1 %2 %3:%4")
                                     .arg(installFile)
                                     .arg(int(m_refusedKind))
                                     .arg(stamp.device)
                                     .arg(stamp.inode)}
                : ResultsNotice {ResultsNotice::Kind::ReadOnlyFolder,
                                 InstallFolder::path(),
                                 ResultsFile::Kind::Missing,
                                 RegularFile::Kind::Regular,
                                 m_path,
                                 QStringLiteral("read-only folder %1").arg(InstallFolder::path())};
            LegacyPending::takeOverNotices(userFolder);
            if (!PendingRows::remembers(notice.key))
                m_notice = notice;
        }
        return status;
    }

    // No folder takes a new file: at least the installation's results can be shown.
    m_path = installFile;
    const QString dataFolder = userFolder.isEmpty() ? QStringLiteral("a data folder") : userFolder;
    if (installRefused) {
        report(
            QStringLiteral("%1 is not used and %2 cannot be written").arg(installFile, dataFolder),
            "results of this session cannot be saved",
            {ResultsTrouble::Kind::UnsuitableNoFolder, installFile, userFolder});
        return Status::Foreign;
    }
    report(
        QStringLiteral("neither %1 nor %2 can be written").arg(InstallFolder::path(), dataFolder),
        "results of this session cannot be saved",
        {ResultsTrouble::Kind::NoFolder, InstallFolder::path(), userFolder});
    const bool showable
        = ResultsFile::inspect(installFile, nullptr, m_waitMs) == ResultsFile::Kind::Store;
    return showable ? Status::ReadOnly : Status::Unavailable;
}

void ResultsStore::noteRefusedFile(const QString &path, ResultsFile::Kind kind, const QString &why)
{
    m_refusedKind = kind;
    const char *what = kind == ResultsFile::Kind::NotAFile ? "%1 is %2, not a regular file"
        : kind == ResultsFile::Kind::Damaged               ? "%1 is damaged (%2)"
        : kind == ResultsFile::Kind::NotSqlite
        ? "%1 is not a results file of this game, or it is damaged (%2)"
        : "%1 is not a results file of this game (%2)";
    m_reason = QString::fromLatin1(what).arg(path, why);
    m_log.say(m_reason + QStringLiteral(" - it is left untouched"));
}

std::optional<ResultsNotice> ResultsStore::takeNotice()
{
    if (m_notice)
        PendingRows::add({}, {}, nullptr, {m_notice->key});
    return std::exchange(m_notice, std::nullopt);
}

ResultsStore::Status ResultsStore::openFile(const QString &path, const QString &seedPath)
{
    using Trouble = ResultsTrouble::Kind;
    m_path = path;
    m_seedPath = seedPath;
    QString why;
    RegularFile::Kind standing = RegularFile::Kind::Regular;
    const ResultsFile::Kind kind = ResultsFile::inspect(path, &why, m_waitMs, &standing);
    if (ResultsFile::isRefused(kind)) {
        // The caller tells where the results go instead.
        m_refusedStanding = standing;
        noteRefusedFile(path, kind, why);
        m_trouble = {Trouble::Unsuitable, path};
        return Status::Foreign;
    }
    if (kind == ResultsFile::Kind::Busy) {
        m_trouble = {Trouble::Busy, path}; // only slow: the first result tries again
        return Status::Unavailable;
    }
    if (kind == ResultsFile::Kind::Unreadable) {
        ResultsTrouble side {Trouble::SideFile};
        if (!ResultsFile::sideFilesAreSafe(path, nullptr, &side.path, &side.standing))
            report(QStringLiteral("%1 cannot be used: %2").arg(path, why), "no results are saved",
                   side);
        else
            report(QStringLiteral("%1 cannot be read (%2)").arg(path, why), "no results are saved",
                   {Trouble::Unreadable, path});
        return Status::Unavailable;
    }
    // A new file is seeded one way only, by the copy: a file already there keeps what it has.
    if (kind == ResultsFile::Kind::Missing && !seedPath.isEmpty()) {
        startCopy(seedPath, path);
        return m_copy ? Status::Preparing : openFile(path, {}); // a small file is copied at once
    }
    if (kind != ResultsFile::Kind::Store && !seedPath.isEmpty())
        m_log.say(QStringLiteral("earlier results in %1 cannot be taken over: %2 exists already")
                      .arg(seedPath, path));
    if (kind != ResultsFile::Kind::Missing && !ResultsFile::fileAcceptsWrites(path)) {
        report(QStringLiteral("%1 is read-only").arg(path),
               "its results are shown, new ones cannot be saved", {Trouble::ReadOnly, path});
        return kind == ResultsFile::Kind::Store ? Status::ReadOnly : Status::Unavailable;
    }

    m_connection = std::make_unique<SqliteDb>(path, SqliteDb::Mode::ReadWrite, m_waitMs);
    m_connection->setTimeLimit(m_waitMs == StartUpWaitMs ? StartUpWaitMs : StatementLimitMs);
    // FULL makes a committed row survive a power cut, not only a crash. A rollback journal
    // (not a write-ahead log) makes a move of pending rows one commit over both files.
    m_connection->exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    if (!m_connection->isOpen() || !m_connection->exec(QStringLiteral("PRAGMA synchronous=FULL"))
        || !createTable(kind)) {
        report(QStringLiteral("%1 cannot be opened for writing (%2)")
                   .arg(path, m_connection->errorText()),
               "no results are saved", troubleOf(*m_connection));
        m_connection.reset();
        return Status::Unavailable;
    }
    // SQLite would not follow a link; one put at the name while the file was made is not used.
    if (RegularFile::kindAt(path) != RegularFile::Kind::Regular) {
        m_connection.reset();
        return openFile(path, seedPath);
    }
    m_opened = FileStamp::of(m_path);
    return Status::Writable;
}

void ResultsStore::report(const QString &reason, const char *consequence,
                          const ResultsTrouble &trouble)
{
    m_reason = reason;
    m_trouble = trouble;
    // A lock is only a wait: it is no problem until it outlasts the patience of a saved row.
    if (trouble.refusal() != ResultsTrouble::Refusal::Busy)
        m_log.say(reason + QStringLiteral(" - ") + QLatin1String(consequence));
}

void ResultsStore::close()
{
    m_copy.reset();
    m_connection.reset();
    m_status = Status::Closed;
    m_path.clear();
    m_seedPath.clear();
    m_reason.clear();
    m_trouble = {};
}
