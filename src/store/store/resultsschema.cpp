#include "store/resultsschema.h"

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

QString ResultsSchema::schemaSql()
{
    return QStringLiteral("SELECT type, name, tbl_name FROM sqlite_schema");
}

QString ResultsSchema::columnsSql()
{
    return QStringLiteral("SELECT name, hidden, pk FROM pragma_table_xinfo('tBase')");
}

QString ResultsSchema::copySeedSql()
{
    return QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM seed.%1 ORDER BY rowid")
        .arg(quoted(tableName()), quotedColumns());
}
