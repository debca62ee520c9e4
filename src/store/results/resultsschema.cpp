#include "results/resultsschema.h"

QString ResultsSchema::fileName()
{
    return QStringLiteral("Base.mdb");
}

QString ResultsSchema::tableName()
{
    return QStringLiteral("tBase");
}

QStringList ResultsSchema::columns()
{
    return {QStringLiteral("Победитель"), QStringLiteral("Попаданий юзера"),
            QStringLiteral("Попаданий компьютера"), QStringLiteral("Уровень сложности")};
}

QString ResultsSchema::quoted(const QString &identifier)
{
    QString inner = identifier;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

static QString quotedColumns(const QString &suffix = {})
{
    QStringList parts;
    for (const QString &column : ResultsSchema::columns())
        parts << ResultsSchema::quoted(column) + suffix;
    return parts.join(QLatin1String(", "));
}

QString ResultsSchema::createTableSql()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(quoted(tableName()), quotedColumns(QStringLiteral(" TEXT")));
}

QString ResultsSchema::insertSql()
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?)")
        .arg(quoted(tableName()), quotedColumns());
}

QString ResultsSchema::selectSql()
{
    // Rows are only ever appended, so the rowid is the order of writing.
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
        .arg(quotedColumns(), quoted(tableName()));
}

QString ResultsSchema::pageSql(bool after, int chars, int rows)
{
    QStringList parts {QStringLiteral("rowid")};
    for (const QString &column : columns())
        parts << QStringLiteral("substr(%1, 1, %2)").arg(quoted(column)).arg(chars);
    return QStringLiteral("SELECT %1 FROM %2 %3 ORDER BY rowid LIMIT %4")
        .arg(parts.join(QLatin1String(", ")), quoted(tableName()),
             after ? QStringLiteral("WHERE rowid > ?") : QString())
        .arg(rows);
}

QString ResultsSchema::tableInfoSql()
{
    return QStringLiteral("PRAGMA table_info(%1)").arg(quoted(tableName()));
}

QString ResultsSchema::createMovedTableSql()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS \"tMoved\" (\"id\" TEXT PRIMARY KEY)");
}

QString ResultsSchema::insertMovedSql()
{
    return QStringLiteral("INSERT OR IGNORE INTO \"tMoved\" (\"id\") VALUES (?)");
}

QString ResultsSchema::copySeedSql()
{
    return QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM seed.%1 ORDER BY rowid")
        .arg(quoted(tableName()), quotedColumns());
}
