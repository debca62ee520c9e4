#include "results/sqlconnection.h"

#include "results/resultsschema.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

SqlConnection::SqlConnection(const QString &path, Mode mode, int waitMs)
{
    static std::atomic<int> counter {0};
    m_name = QStringLiteral("seabattle.results.%1").arg(++counter);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(waitMs);
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

void SqlConnection::rollback()
{
    const QString error = m_error;
    const int code = m_errorCode;
    exec(QStringLiteral("ROLLBACK"));
    m_error = error;
    m_errorCode = code;
}

bool SqlConnection::attach(const QString &path)
{
    QSqlQuery query(database());
    if (!query.prepare(QStringLiteral("ATTACH DATABASE ? AS seed")))
        return failed(query.lastError());
    query.addBindValue(path);
    return query.exec() || failed(query.lastError());
}

void SqlConnection::detach()
{
    exec(QStringLiteral("DETACH DATABASE seed"));
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

bool SqlConnection::insertRowsOnce(const QList<std::pair<QString, QStringList>> &rows)
{
    if (!exec(ResultsSchema::createMovedTableSql()))
        return false;
    QSqlQuery mark(database());
    QSqlQuery insert(database());
    if (!mark.prepare(ResultsSchema::insertMovedSql()))
        return failed(mark.lastError());
    if (!insert.prepare(ResultsSchema::insertSql()))
        return failed(insert.lastError());
    for (const auto &[id, values] : rows) {
        mark.addBindValue(id);
        if (!mark.exec())
            return failed(mark.lastError());
        if (mark.numRowsAffected() != 1)
            continue; // moved before: the id is there, and so is the row
        for (const QString &value : values)
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

QString SqlConnection::refusalForPlayer(const SqlConnection &connection, const QString &path)
{
    const QString file = QDir::toNativeSeparators(path);
    // SQLite's primary result codes.
    switch (connection.errorCode()) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("файл %1 занят").arg(file);
    case 8: // SQLITE_READONLY
    case 3: // SQLITE_PERM
        return QStringLiteral("файл %1 защищен от записи").arg(file);
    case 13: // SQLITE_FULL
        return QStringLiteral("на диске не осталось места для файла %1").arg(file);
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("файл %1 поврежден").arg(file);
    case 10: // SQLITE_IOERR
        return QStringLiteral("ошибка записи в файл %1").arg(file);
    default:
        return QStringLiteral("файл %1 не принимает запись").arg(file);
    }
}
