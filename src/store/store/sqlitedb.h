#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;

// One connection to an SQLite file through SQLite's own interface, closed with this object.
// It is opened without following a link at the path, and it runs nothing the file itself
// brings along: triggers and views are switched off and the schema is not trusted, so no file
// can run code in the game. Every statement gives up after a time limit, and another
// connection's lock is waited for only so long, so no file can hold the window up.
class SqliteDb
{
public:
    enum class Mode { ReadOnly, ReadWrite };
    SqliteDb(const QString &path, Mode mode, int waitMs);
    ~SqliteDb();
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;

    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }
    // For the statements that follow: how long another connection's lock is waited for, and
    // how long one statement may work.
    void setBusyTimeout(int ms);
    void setTimeLimit(int ms) { m_limitMs = ms; }

    // Runs one statement with its positional values; `rows`, when given, receives every row,
    // each value as text (a null as an empty string, see `types`).
    bool exec(const QString &sql, const QVariantList &values = {},
              QList<QStringList> *rows = nullptr);
    // Ends the transaction open now, if any, keeping the error that ended it.
    void rollback();
    // Runs a statement whose failure does not matter, keeping the last error.
    void runKeepingError(const char *sql);
    // Rows the last statement added, changed or removed.
    int changes() const;

    // SQLite's primary result code of the last failure (SQLITE_BUSY, ...).
    int errorCode() const { return m_errorCode & 0xff; }
    QString errorText() const { return m_error; }
    // Another connection's lock outlasted the wait.
    bool wasBusy() const;
    // SQLite found the file damaged or not a database.
    bool wasDamaged() const;

private:
    bool failed(int code);

    sqlite3 *m_db = nullptr;
    QString m_error;
    int m_errorCode = 0;
    int m_limitMs = 1000;
    QDeadlineTimer m_deadline;
};
