#pragma once

#include "files/regularfile.h"

#include <QLoggingCategory>
#include <QString>

#include <memory>

class SqliteDb;

// Every complaint about the results files goes here, on standard error.
Q_DECLARE_LOGGING_CATEGORY(lcResults)

// What lies at a path where the results file is expected, found out without changing a byte
// of it and without following a link planted there.
class ResultsFile
{
public:
    enum class Kind {
        Missing, // nothing there yet
        Blank, // an empty file: an SQLite database without a page yet
        NoTable, // an SQLite database without tBase
        Store, // an SQLite database whose tBase has exactly our four columns, and nothing on it
        NotAFile, // a link, a folder, a pipe or a device: never opened
        NotSqlite, // not an SQLite database: another program's file, or ours damaged
        OtherTable, // tBase is not ours, or the file holds triggers or views: not this game's
        Damaged, // an SQLite database that SQLite cannot read
        Unreadable, // a file that cannot be read now (permissions, a planted journal)
        Busy, // an SQLite file another connection holds locked at this moment
    };

    // A file the game must leave as it is and keep its results elsewhere.
    static bool isRefused(Kind kind)
    {
        return kind == Kind::NotAFile || kind == Kind::NotSqlite || kind == Kind::OtherTable
            || kind == Kind::Damaged;
    }

    // `why` receives a short reason, in English, for every kind from NotAFile on; waitMs is
    // how long another connection's lock is waited for.
    static Kind inspect(const QString &path, QString *why = nullptr, int waitMs = 0,
                        RegularFile::Kind *standing = nullptr);

    // A connection that can read the file, or nothing and why: Busy, Damaged or Unreadable.
    static std::unique_ptr<SqliteDb> openForReading(const QString &path, int waitMs,
                                                    QString *why = nullptr,
                                                    Kind *failure = nullptr);

    // Whether an open file is plainly this game's (Store), has no tBase yet (NoTable) or is
    // another's (OtherTable); Busy or Unreadable when its schema cannot be read.
    static Kind judgeSchema(SqliteDb &connection, QString *why = nullptr);

    // The files SQLite keeps beside the database (its journal) are regular or absent: a pipe
    // there would stall SQLite, a link would send its writes elsewhere.
    static bool sideFilesAreSafe(const QString &path, QString *why = nullptr,
                                 QString *which = nullptr, RegularFile::Kind *standing = nullptr);

    // Whether new files (the database, SQLite's journal) can be created in the folder.
    static bool folderAcceptsWrites(const QString &folder);
    static bool fileAcceptsWrites(const QString &path);
};
