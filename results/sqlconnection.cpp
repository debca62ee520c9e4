#include "results/sqlconnection.h"

#include "results/resultsschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

SqlConnection::SqlConnection(const QString &path, Mode mode)
{
    static std::atomic<int> counter {0};
    m_name = QStringLiteral("seabattle.results.%1").arg(++counter);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
    // Read-only opening never creates the file nor a journal next to it.
    if (mode == Mode::ReadOnly)
        options += QLatin1String(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    m_open = db.open() || failed(db.lastError());
}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool SqlConnection::exec(const QString &sql)
{
    QSqlQuery query(database());
    return query.exec(sql) || failed(query.lastError());
}

bool SqlConnection::setBusyTimeout(int ms)
{
    return exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(ms));
}

bool SqlConnection::tableColumns(QStringList *columns)
{
    columns->clear();
    QSqlQuery query(database());
    if (!query.exec(ResultsSchema::tableInfoSql()))
        return failed(query.lastError());
    while (query.next())
        columns->append(query.value(1).toString());
    return true;
}

bool SqlConnection::insertRows(const QList<QStringList> &rows)
{
    QSqlQuery insert(database());
    if (!insert.prepare(ResultsSchema::insertSql()))
        return failed(insert.lastError());
    for (const QStringList &row : rows) {
        for (const QString &value : row)
            insert.addBindValue(value);
        if (!insert.exec())
            return failed(insert.lastError());
    }
    return true;
}

bool SqlConnection::failed(const QSqlError &error)
{
    m_error = error.text();
    m_errorCode = error.nativeErrorCode().toInt();
    return false;
}

QString SqlConnection::refusalForPlayer(const SqlConnection *connection)
{
    // SQLite's primary result codes.
    switch (connection ? connection->errorCode() : 0) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("файл результатов занят другой программой");
    case 8: // SQLITE_READONLY
    case 3: // SQLITE_PERM
        return QStringLiteral("файл результатов защищён от записи");
    case 13: // SQLITE_FULL
        return QStringLiteral("на диске не осталось места");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("файл результатов повреждён");
    case 10: // SQLITE_IOERR
        return QStringLiteral("ошибка записи на диск");
    default:
        return QStringLiteral("файл результатов не принимает запись");
    }
}
