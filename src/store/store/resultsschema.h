#pragma once

#include <QString>
#include <QStringList>

// The one table of the results file. Every identifier goes into SQL quoted: the
// column names hold spaces, and SQLite reads an unquoted "Попаданий юзера" as a
// column "Попаданий" with the type name "юзера".
namespace ResultsSchema {

QString fileName(); // "Base.mdb"
QString tableName(); // "tBase"
QStringList columns(); // the four column names, in table order

QString quoted(const QString &identifier);
QString createTableSql();
QString insertSql(); // four positional placeholders
// Up to `rows` rows after a given rowid (bound as the one placeholder when `after`),
// oldest first: the rowid, then each column cut to `chars` characters.
QString pageSql(bool after, int chars, int rows);

// Every row of an attached file "seed" appended to tBase, in its order.
QString copySeedSql();
// What makes a file plainly this game's: the whole schema, then tBase's columns with their
// hidden and key flags.
QString schemaSql();
QString columnsSql();

} // namespace ResultsSchema
