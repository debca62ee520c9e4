#pragma once

#include "files/filestamp.h"
#include "files/oncelog.h"
#include "results/pendingresults.h"
#include "results/resultrow.h"
#include "results/resultsfile.h"
#include "results/resultslog.h"

#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class ResultsFileCopy;
class SqlConnection;

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
    // What a refused row may expect in this run.
    enum class Refusal {
        None,
        Busy, // another connection holds the file, or it is still being made: only slow
        Transient, // the disk is full or failed: worth trying again
        Lasting, // write-protected, refused or no folder: not before the next start
    };

    // The window is not shown yet while the store opens; afterwards no statement may hold
    // it up for long.
    static constexpr int StartUpWaitMs = 2000;
    static constexpr int AttemptWaitMs = 20;

    ResultsStore();
    ~ResultsStore();
    ResultsStore(const ResultsStore &) = delete;
    ResultsStore &operator=(const ResultsStore &) = delete;

    // Chooses the file and opens it, creating file and table on the first run.
    // Problems are told on standard error, each once; the game plays on in every case.
    Status open();

    // One row per finished game, in its own transaction: after a crash the row is there
    // whole or not at all. Waits at most lockWaitMs for another connection's lock. False
    // when the row was not stored; refusal() and failure() say why.
    bool append(const ResultRow &row, int lockWaitMs = AttemptWaitMs);
    // Rows kept in the pending file, in one transaction, each unless the file took its id
    // before; `taken` receives the ids the file holds now.
    bool appendPending(const QList<PendingResults::Row> &rows, QSet<QString> *taken);

    Status status() const { return m_status; }
    // The file rows go to, or would go to.
    QString filePath() const { return m_path; }
    // The file the statistics window lists: while the data folder's copy is being made, the
    // installation's file it is made from.
    QString listedFile() const;
    bool isReadable() const { return m_status == Status::Writable || m_status == Status::ReadOnly; }
    Refusal refusal() const { return m_refusal; }
    // Why the last row was refused, in Russian words for the player, naming the file.
    QString failure() const { return m_failure; }
    // What the player should know from the opening (the results kept in the data folder), in
    // Russian; empty once taken, or when it was told at an earlier start.
    QString takeNotice();

    // The file used when the installation folder refuses writes.
    static QString userFilePath();
    // Tests take the part of a system-wide installation; nullopt asks the installation.
    static void setSystemWideForTesting(std::optional<bool> systemWide);

private:
    Status openFile(const QString &path, const QString &seedPath);
    Status openInDataFolder(const QString &installFile, bool installRefused);
    void startCopy(const QString &from, const QString &to);
    void copyFinished();
    bool createTable(const QString &seedPath);
    bool readyToWrite();
    void noteRefusedFile(const QString &path, ResultsFile::Kind kind, const QString &why);
    void noticeWhereResultsGo(const QString &installFile, bool installRefused);
    void close();
    void report(const QString &reason, const char *consequence, const QString &forPlayer,
                Refusal refusal = Refusal::Lasting);
    void note(const QString &message, QtMsgType type = QtInfoMsg);
    bool fail(const QString &reason, const QString &forPlayer, Refusal refusal);
    bool failWriting(const QString &what);

    std::unique_ptr<SqlConnection> m_connection;
    std::unique_ptr<ResultsFileCopy> m_copy;
    Status m_status = Status::Closed;
    QString m_path;
    QString m_seedPath; // the installation's file a new file starts from
    QString m_reason; // why rows cannot be stored, for the warning of append()
    QString m_reasonForPlayer; // the same in Russian
    Refusal m_lasting = Refusal::Lasting; // what that reason means for a row
    QString m_failure;
    Refusal m_refusal = Refusal::None;
    QString m_notice;
    QString m_noticeKey;
    // The installation's file as it was found when it was refused, for the notice.
    ResultsFile::Kind m_refusedKind = ResultsFile::Kind::Missing;
    RegularFile::Kind m_refusedStanding = RegularFile::Kind::Regular;
    OnceLog m_log {lcResults};
    FileStamp m_opened; // of m_path when it was opened, to notice it deleted or swapped
    int m_waitMs = StartUpWaitMs;
    bool m_quiet = false; // while append() tries the opening again
};
