#include "store/resultsschema.h"

QString ResultsSchema::columnList(const QString &prefix, const QString &suffix,
                                  const QString &separator)
{
    QStringList parts;
    for (const QString &column : columns)
        parts << prefix + QLatin1Char('"') + column + QLatin1Char('"') + suffix;
    return parts.join(separator);
}

QString ResultsSchema::createTableSql()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS \"tBase\" (%1)")
        .arg(columnList({}, QStringLiteral(" TEXT")));
}

QString ResultsSchema::insertSql()
{
    return QStringLiteral("INSERT INTO \"tBase\" (%1) VALUES (?, ?, ?, ?)").arg(columnList());
}

QString ResultsSchema::pageSql(bool after, int chars, int rows)
{
    return QStringLiteral("SELECT rowid, %1 FROM \"tBase\" %2 ORDER BY rowid LIMIT %3")
        .arg(columnList(QStringLiteral("substr("), QStringLiteral(", 1, %1)").arg(chars)),
             after ? QStringLiteral("WHERE rowid > ?") : QString())
        .arg(rows);
}
