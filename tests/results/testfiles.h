#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reading and making results files behind the store's back, with connections of
// the test's own, so a test never checks the store with the store's code.
namespace TestFiles {

QByteArray bytes(const QString &path);
void write(const QString &path, const QByteArray &data);
QStringList folderListing(const QString &folder);

// Every row of a query, each value as text; an empty list on any error.
QList<QStringList> query(const QString &path, const QString &sql);
// Runs statements in order on a read-write connection.
bool exec(const QString &path, const QStringList &statements);

QStringList tableColumns(const QString &path);
QList<QStringList> storedRows(const QString &path); // oldest first
// A results file with these rows, made by hand.
bool makeStore(const QString &path, const QList<QStringList> &rows);

} // namespace TestFiles
