#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <utility>

namespace {

template<typename Work> auto withConnection(const QString &path, Work work)
{
    const QString name = QStringLiteral("test.%1").arg(quintptr(&path));
    decltype(work(std::declval<QSqlDatabase &>())) result {};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (db.open())
            result = work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

QByteArray TestFiles::bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFiles::write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

QStringList TestFiles::folderListing(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QList<QStringList> TestFiles::query(const QString &path, const QString &sql)
{
    return withConnection(path, [&](QSqlDatabase &db) {
        QList<QStringList> rows;
        QSqlQuery q(db);
        if (!q.exec(sql))
            return rows;
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << (q.value(i).isNull() ? QStringLiteral("<NULL>") : q.value(i).toString());
            rows << row;
        }
        return rows;
    });
}

bool TestFiles::exec(const QString &path, const QStringList &statements)
{
    return withConnection(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        for (const QString &sql : statements) {
            if (!q.exec(sql))
                return false;
        }
        return true;
    });
}

QStringList TestFiles::tableColumns(const QString &path)
{
    QStringList names;
    for (const QStringList &row : query(path, QStringLiteral("PRAGMA table_info(\"tBase\")")))
        names << row.value(1);
    return names;
}

QList<QStringList> TestFiles::storedRows(const QString &path)
{
    return query(path, QStringLiteral("SELECT * FROM \"tBase\" ORDER BY rowid"));
}

bool TestFiles::makeStore(const QString &path, const QList<QStringList> &rows)
{
    QStringList statements {
        QStringLiteral("BEGIN"),
        QStringLiteral("CREATE TABLE \"tBase\" (\"Победитель\" TEXT, \"Попаданий юзера\" TEXT, "
                       "\"Попаданий компьютера\" TEXT, \"Уровень сложности\" TEXT)")};
    for (const QStringList &row : rows) {
        // Test data only: plain words and digits, no quotes to escape.
        statements << QStringLiteral("INSERT INTO \"tBase\" VALUES ('%1')")
                          .arg(row.join(QLatin1String("', '")));
    }
    statements << QStringLiteral("COMMIT"); // one sync for the whole file
    return exec(path, statements);
}
