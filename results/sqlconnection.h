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
    // Waits this long for another program's lock before a statement gives up. Every
    // statement runs on the window's thread, so the wait stays too short to be seen.
    static constexpr int BusyTimeoutMs = 200;

    SqlConnection(const QString &path, Mode mode);
    ~SqlConnection();
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    bool isOpen() const { return m_open; }
    QString errorText() const { return m_error; }
    // The last failure was another program's lock outlasting the busy timeout.
    bool wasBusy() const { return (m_errorCode & 0xff) == 5; } // SQLITE_BUSY and its variants
    QSqlDatabase database() const;

    // For the statements that follow; at quitting a longer wait is worth it.
    bool setBusyTimeout(int ms);
    // SQLite's primary result code of the last failure (SQLITE_FULL, SQLITE_READONLY...).
    int errorCode() const { return m_errorCode & 0xff; }

    // The last failure of `connection` (none: no file) in plain Russian, for the player.
    static QString refusalForPlayer(const SqlConnection *connection);

    // Runs one statement without result rows; on failure keeps the error text.
    bool exec(const QString &sql);
    // Inserts rows of tBase's four values within the transaction open now.
    bool insertRows(const QList<QStringList> &rows);
    // The column names of tBase as SQLite lists them; empty when there is no such table.
    bool tableColumns(QStringList *columns);

private:
    bool failed(const QSqlError &error); // keeps the error, returns false

    QString m_name;
    QString m_error;
    int m_errorCode = 0;
    bool m_open = false;
};
