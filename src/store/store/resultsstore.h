#pragma once

#include "files/filestamp.h"
#include "files/oncelog.h"
#include "store/resultrow.h"
#include "store/resultsfile.h"
#include "store/resultsnotice.h"
#include "store/resultstrouble.h"

#include <QString>

#include <memory>
#include <optional>

class ResultsFileCopy;
class SqliteDb;

// The results of finished games: table tBase of "Base.mdb" in the installation folder,
// opened once at start-up and kept open for the whole run.
//
// Where the installation folder refuses writes (a system-wide installation, a read-only
// portable copy), or its Base.mdb is not a results file of this game or is damaged, the
// player's data folder takes the file instead; a new file there starts as a copy of the
// installation's, so the statistics keep showing its rows. A refused file is never changed,
// and no file is opened through a link planted at its name.
//
// Statements run on the window's thread and wait only a moment for another connection's
// lock; a row refused for that reason is the caller's to keep and retry.
class ResultsStore
{
public:
    enum class Status {
        Closed, // open() not called yet
        Preparing, // the data folder's file is being copied from the installation's
        Writable, // rows are appended to filePath()
        ReadOnly, // filePath() holds results that can be shown but not added to
        Foreign, // the installation's file is refused and no other file takes rows
        Unavailable, // no file could be opened
    };

    // The window is not shown yet while the store opens; afterwards no statement may hold
    // it up for long.
    static constexpr int StartUpWaitMs = 2000;
    static constexpr int AttemptWaitMs = 20;
    // The longest one statement may work while the window shows (SQLite interrupts it).
    static constexpr int StatementLimitMs = 500;

    ResultsStore();
    ~ResultsStore();
    ResultsStore(const ResultsStore &) = delete;
    ResultsStore &operator=(const ResultsStore &) = delete;

    // Chooses the file and opens it, creating file and table on the first run.
    // Problems are told on standard error, each once; the game plays on in every case.
    Status open();

    // One row per finished game, in its own transaction: after a crash the row is there
    // whole or not at all. Waits at most lockWaitMs for another connection's lock.
    ResultsTrouble append(const ResultRow &row, int lockWaitMs = AttemptWaitMs);
    // Moves the rows waiting for this file into it, in one transaction; `left` receives how
    // many still wait (damaged ones).
    ResultsTrouble movePending(int *left);

    Status status() const { return m_status; }
    // The file rows go to, or would go to.
    QString filePath() const { return m_path; }
    // The file the statistics window lists: while the data folder's copy is being made, the
    // installation's file it is made from.
    QString listedFile() const;
    // What the player should know from the opening; nothing once taken, or when it was
    // told at an earlier start.
    std::optional<ResultsNotice> takeNotice();

    // The file used when the installation folder refuses writes.
    static QString userFilePath();

private:
    Status openFile(const QString &path, const QString &seedPath);
    Status openInDataFolder(const QString &installFile, bool installRefused);
    void startCopy(const QString &from, const QString &to);
    void copyFinished();
    bool createTable(ResultsFile::Kind kind);
    ResultsTrouble readyToWrite();
    void noteRefusedFile(const QString &path, ResultsFile::Kind kind, const QString &why);
    void report(const QString &reason, const char *consequence, const ResultsTrouble &trouble);
    ResultsTrouble fail(const QString &reason, const ResultsTrouble &trouble);
    ResultsTrouble failWriting(const QString &what);
    ResultsTrouble troubleOf(const SqliteDb &connection) const;
    void close();

    std::unique_ptr<SqliteDb> m_connection;
    std::unique_ptr<ResultsFileCopy> m_copy;
    Status m_status = Status::Closed;
    QString m_path;
    QString m_seedPath; // the installation's file a new file starts from
    QString m_reason; // why rows cannot be stored, for the warning of append()
    ResultsTrouble m_trouble; // the same for the player
    std::optional<ResultsNotice> m_notice;
    // The installation's file as it was found when it was refused, for the notice.
    ResultsFile::Kind m_refusedKind = ResultsFile::Kind::Missing;
    RegularFile::Kind m_refusedStanding = RegularFile::Kind::Regular;
    OnceLog m_log {lcResults};
    FileStamp m_opened; // of m_path when it was opened, to notice it deleted or swapped
    int m_waitMs = StartUpWaitMs;
};
