#pragma once

#include <QString>
#include <QStringList>

// The one table of the results file. Every identifier goes into SQL quoted: the
// column names hold spaces, and SQLite reads an unquoted "Попаданий юзера" as a
// column "Попаданий" with the type name "юзера".
namespace ResultsSchema {

inline const QString fileName = QStringLiteral("Base.mdb");
inline const QString tableName = QStringLiteral("tBase");
// The four column names, in table order.
inline const QStringList columns {
    QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Победитель")),
    QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Попаданий юзера")),
    QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Попаданий компьютера")),
    QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Уровень сложности"))};
// The same quoted for SQL, each between `prefix` and `suffix`, joined by `separator`.
QString columnList(const QString &prefix = {}, const QString &suffix = {},
                   const QString &separator = QStringLiteral(", "));

QString createTableSql();
QString insertSql(); // four positional placeholders
// Up to `rows` rows after a given rowid (bound as the one placeholder when `after`),
// oldest first: the rowid, then each column cut to `chars` characters.
QString pageSql(bool after, int chars, int rows);
// What makes a file plainly this game's: the whole schema, then tBase's columns with their
// hidden and key flags.
inline const QString schemaSql = QStringLiteral("SELECT type, name, tbl_name FROM sqlite_schema");
inline const QString columnsSql
    = QStringLiteral("SELECT name, hidden, pk FROM pragma_table_xinfo('tBase')");

} // namespace ResultsSchema
