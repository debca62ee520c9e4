#include "results/resultsfile.h"

#include "results/resultsschema.h"
#include "results/sqlconnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <memory>

#include <unistd.h>

// Opens the file read-only first. A program killed in the middle of a write
// leaves a journal that SQLite must play back before anyone may read, and only
// a writable connection can do that; SQLite's own recovery is then allowed to
// write, which restores the file as its last complete transaction left it.
std::unique_ptr<SqlConnection> ResultsFile::openForReading(const QString &path, QString *why,
                                                           bool *busy)
{
    auto probe = [](SqlConnection &connection) {
        QStringList columns;
        return connection.isOpen() && connection.tableColumns(&columns);
    };
    auto connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadOnly);
    if (probe(*connection))
        return connection;
    if (!connection->wasBusy() && ResultsFile::fileAcceptsWrites(path)) {
        connection.reset();
        connection = std::make_unique<SqlConnection>(path, SqlConnection::Mode::ReadWrite);
        if (probe(*connection))
            return connection;
    }
    if (why)
        *why = connection->errorText();
    if (busy)
        *busy = connection->wasBusy();
    return nullptr;
}

bool ResultsFile::hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray magic("SQLite format 3\0", 16);
    return file.read(16) == magic;
}

ResultsFile::Kind ResultsFile::inspect(const QString &path, QString *why)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return Kind::Missing;
    if (!info.isFile()) {
        if (why)
            *why = QStringLiteral("not a regular file");
        return Kind::Foreign;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = file.errorString();
        return Kind::Unreadable;
    }
    if (file.size() == 0)
        return Kind::Blank;
    file.close();
    if (!hasSqliteHeader(path)) {
        if (why)
            *why = QStringLiteral("not an SQLite database");
        return Kind::Foreign;
    }
    bool busy = false;
    const auto connection = openForReading(path, why, &busy);
    if (!connection)
        return busy ? Kind::Busy : Kind::Unreadable;
    QStringList columns;
    connection->tableColumns(&columns);
    if (columns.isEmpty())
        return Kind::NoTable;
    if (columns == ResultsSchema::columns())
        return Kind::Store;
    if (why)
        *why = QStringLiteral("its table %1 has the columns %2")
                   .arg(ResultsSchema::tableName(), columns.join(QLatin1String(", ")));
    return Kind::Foreign;
}

std::optional<QList<QStringList>> ResultsFile::readRows(const QString &path, QString *why)
{
    if (inspect(path, why) != Kind::Store)
        return std::nullopt;
    const auto connection = openForReading(path, why);
    if (!connection)
        return std::nullopt;
    QList<QStringList> rows;
    {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        if (!query.exec(ResultsSchema::selectSql())) {
            if (why)
                *why = query.lastError().text();
            return std::nullopt;
        }
        const int count = int(ResultsSchema::columns().size());
        while (query.next()) {
            QStringList row;
            for (int column = 0; column < count; ++column)
                row << query.value(column).toString();
            rows << row;
        }
    }
    return rows;
}

bool ResultsFile::folderAcceptsWrites(const QString &folder)
{
    // access() answers for this user, a read-only mount and an immutable folder
    // alike; a root user really may write into a folder without write bits.
    return QFileInfo(folder).isDir()
        && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

bool ResultsFile::fileAcceptsWrites(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}
