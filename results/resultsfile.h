#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class SqlConnection;

// What lies at a path where the results file is expected, found out without
// changing a byte of it; and the rows of a results file.
class ResultsFile
{
public:
    enum class Kind {
        Missing, // nothing there yet
        Blank, // an empty file: an SQLite database without a page yet
        NoTable, // an SQLite database without tBase
        Store, // an SQLite database whose tBase has exactly our four columns
        Foreign, // anything else: another program's file, never to be touched
        Unreadable, // an SQLite file that cannot be read now (permissions, damage)
        Busy, // an SQLite file another program holds locked at this moment
    };

    // `why` receives a short reason for Foreign and Unreadable.
    static Kind inspect(const QString &path, QString *why = nullptr);
    // All rows of tBase, oldest first, as text; nothing unless the file is a Store.
    static std::optional<QList<QStringList>> readRows(const QString &path, QString *why = nullptr);

    // A connection that can read the file, or nothing; `busy` tells whether another
    // program's lock was what stood in the way.
    static std::unique_ptr<SqlConnection>
    openForReading(const QString &path, QString *why = nullptr, bool *busy = nullptr);

    // Whether new files (the database, SQLite's journal) can be created in the folder.
    static bool folderAcceptsWrites(const QString &folder);
    static bool fileAcceptsWrites(const QString &path);
    static bool hasSqliteHeader(const QString &path);
};
