#pragma once

#include "model/filestamp.h"
#include "results/resultslog.h"

#include <QString>

#include <memory>
#include <utility>

class SqlConnection;

// The results of finished games: table tBase of "Base.mdb" in the installation
// folder, opened once at start-up and kept open for the whole run.
//
// Where the installation folder refuses writes (a system-wide installation), or
// its Base.mdb belongs to another program, the player's own data folder takes the
// file instead; a new file there starts with the rows of the installation's file,
// so the statistics keep showing them. A file that is not ours is never changed.
//
// Every statement waits only a moment for another program's lock: the store runs
// on the window's thread. A row refused for that reason is the caller's to retry.
class ResultsStore
{
public:
    enum class Status {
        Closed, // open() not called yet
        Writable, // rows are appended to filePath()
        ReadOnly, // filePath() holds results that can be shown but not added to
        Foreign, // filePath() belongs to another program: nothing is read or written
        Unavailable, // no file could be opened
    };

    ResultsStore();
    ~ResultsStore();
    ResultsStore(const ResultsStore &) = delete;
    ResultsStore &operator=(const ResultsStore &) = delete;

    // Chooses the file and opens it, creating file and table on the first run.
    // Problems are told on standard error, each once; the game plays on in every case.
    Status open();

    // One row per finished game, in its own transaction: after a crash the row
    // is there whole or not at all. Waits at most lockWaitMs for another program's
    // lock. False (and a warning) when the row was not stored; failure() says why.
    bool append(const QString &winner, const QString &userHits, const QString &compHits,
                const QString &level, int lockWaitMs = 0);

    Status status() const { return m_status; }
    // The file the statistics window reads (and append writes when Writable).
    QString filePath() const { return m_path; }
    bool isReadable() const { return m_status == Status::Writable || m_status == Status::ReadOnly; }
    // Why the last append stored nothing, in Russian words for the player.
    QString failure() const { return m_failure; }
    // What the player should know from the opening (the results moved to the data
    // folder), in Russian; empty once taken or when there is nothing to tell.
    QString takeNotice() { return std::exchange(m_notice, QString()); }

    // The file used when the installation folder refuses writes.
    static QString userFilePath();

private:
    Status openFile(const QString &path, const QString &seedPath);
    Status openInDataFolder(const QString &installFile, bool installIsForeign);
    bool createTable(const QString &seedPath);
    void close();
    void report(const QString &reason, const char *consequence, const QString &forPlayer);
    void note(const QString &message, QtMsgType type = QtInfoMsg);
    bool fail(const QString &reason, const QString &forPlayer);

    std::unique_ptr<SqlConnection> m_connection;
    Status m_status = Status::Closed;
    QString m_path;
    QString m_seedPath; // the installation's file whose rows a new file starts with
    QString m_reason; // why rows cannot be stored, for the warning of append()
    QString m_reasonForPlayer; // the same in Russian
    QString m_failure;
    QString m_notice;
    ResultsOnceLog m_log;
    FileStamp m_opened; // of m_path when it was opened, to notice it deleted or swapped
    bool m_quiet = false; // while append() tries the opening again
};
