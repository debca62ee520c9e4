#include "store/sqlitedb.h"

#include <QFile>

#include <sqlite3.h>

SqliteDb::SqliteDb(const QString &path, Mode mode, int waitMs)
{
    const int flags = SQLITE_OPEN_NOFOLLOW
        | (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
                                  : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
    if (code != SQLITE_OK) {
        failed(code);
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    sqlite3_extended_result_codes(m_db, 1);
    for (const int option : {SQLITE_DBCONFIG_ENABLE_TRIGGER, SQLITE_DBCONFIG_ENABLE_VIEW,
                             SQLITE_DBCONFIG_TRUSTED_SCHEMA, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION})
        sqlite3_db_config(m_db, option, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_busy_timeout(m_db, waitMs);
    // Every few thousand steps of a statement: past its time it is interrupted.
    sqlite3_progress_handler(
        m_db, 4000,
        [](void *self) { return int(static_cast<SqliteDb *>(self)->m_deadline.hasExpired()); },
        this);
}

SqliteDb::~SqliteDb()
{
    sqlite3_close_v2(m_db);
}

void SqliteDb::setBusyTimeout(int ms)
{
    sqlite3_busy_timeout(m_db, ms);
}

bool SqliteDb::exec(const QString &sql, const QVariantList &values, QList<QStringList> *rows)
{
    if (!m_db)
        return false;
    m_deadline.setRemainingTime(m_limitMs);
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    int code = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &statement, nullptr);
    for (int i = 0; code == SQLITE_OK && i < values.size(); ++i) {
        const QVariant &value = values[i];
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
            code = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            code = sqlite3_bind_text(statement, i + 1, utf8.constData(), int(utf8.size()),
                                     SQLITE_TRANSIENT);
        }
    }
    while (code == SQLITE_OK || code == SQLITE_ROW) {
        code = sqlite3_step(statement);
        if (code != SQLITE_ROW || !rows)
            continue;
        QStringList row;
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            const auto *value
                = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
            row << QString::fromUtf8(value, sqlite3_column_bytes(statement, column));
        }
        rows->append(row);
    }
    sqlite3_finalize(statement);
    return code == SQLITE_DONE || failed(code);
}

void SqliteDb::rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db))
        runKeepingError("ROLLBACK");
}

void SqliteDb::runKeepingError(const char *sql)
{
    if (m_db)
        sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

bool SqliteDb::wasBusy() const
{
    return errorCode() == SQLITE_BUSY || errorCode() == SQLITE_LOCKED;
}

bool SqliteDb::wasDamaged() const
{
    return errorCode() == SQLITE_CORRUPT || errorCode() == SQLITE_NOTADB;
}

int SqliteDb::changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

bool SqliteDb::failed(int code)
{
    m_errorCode = code;
    m_error = QString::fromUtf8(m_db && sqlite3_errcode(m_db) == code ? sqlite3_errmsg(m_db)
                                                                      : sqlite3_errstr(code));
    return false;
}
