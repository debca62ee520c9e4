#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// One SQLite connection under a name of its own, removed again with this object,
// so the store, the statistics window and a second store in the same process
// never share or clobber each other's connection.
class SqlConnection
{
public:
    enum class Mode { ReadOnly, ReadWrite };
    // The longest wait for another connection's lock while the window is shown: every
    // statement runs on the window's thread, so a longer wait would freeze it.
    static constexpr int WindowWaitMs = 100;

    // Each statement waits at most waitMs for another connection's lock.
    SqlConnection(const QString &path, Mode mode, int waitMs);
    ~SqlConnection();
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    bool isOpen() const { return m_open; }
    QString errorText() const { return m_error; }
    // The last failure was another connection's lock outlasting the wait.
    bool wasBusy() const { return errorCode() == 5 || errorCode() == 6; } // SQLITE_BUSY, _LOCKED
    // SQLite found the file damaged or not a database.
    bool wasDamaged() const { return errorCode() == 11 || errorCode() == 26; } // _CORRUPT, _NOTADB
    QSqlDatabase database() const;

    // For the statements that follow.
    bool setBusyTimeout(int ms);
    // SQLite's primary result code of the last failure (SQLITE_FULL, SQLITE_READONLY...).
    int errorCode() const { return m_errorCode & 0xff; }

    // The last failure of `connection` in plain Russian for the player, naming the file.
    static QString refusalForPlayer(const SqlConnection &connection, const QString &path);

    // Runs one statement without result rows; on failure keeps the error text.
    bool exec(const QString &sql);
    // Ends the transaction open now, if any, keeping the error that ended it.
    void rollback();
    // The file as the schema "seed" of the statements that follow, read only; and away again.
    bool attach(const QString &path);
    void detach();
    // Inserts rows of tBase's four values within the transaction open now.
    bool insertRows(const QList<QStringList> &rows);
    // Inserts each row whose id tMoved does not hold yet, with its id, within the transaction.
    bool insertRowsOnce(const QList<std::pair<QString, QStringList>> &rows);
    // The column names of tBase as SQLite lists them; empty when there is no such table.
    bool tableColumns(QStringList *columns);

private:
    bool failed(const QSqlError &error); // keeps the error, returns false

    QString m_name;
    QString m_error;
    int m_errorCode = 0;
    bool m_open = false;
};
