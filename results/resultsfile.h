#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

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
    };

    // `why` receives a short reason for Foreign and Unreadable.
    static Kind inspect(const QString &path, QString *why = nullptr);
    // All rows of tBase, oldest first, as text; nothing unless the file is a Store.
    static std::optional<QList<QStringList>> readRows(const QString &path, QString *why = nullptr);

    // Whether new files (the database, SQLite's journal) can be created in the folder.
    static bool folderAcceptsWrites(const QString &folder);
    static bool fileAcceptsWrites(const QString &path);
    static bool hasSqliteHeader(const QString &path);
};
