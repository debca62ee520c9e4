#pragma once

#include "files/regularfile.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Finished games' rows that the results file refused, kept in "pending-results.jsonl" of the
// player's data folder until they are moved into that file. A row is on disk, written and
// synced, before add() returns, so whatever ends the program afterwards does not lose it.
//
// One JSON object a line: the row's id, the results file it belongs to and its four values.
// The id makes a move safe to repeat: the results file records the ids it took in the same
// transaction as their rows, so a move cut short between that commit and the line's removal
// stores no row twice. Every copy of the game shares the file; each change holds its lock.
class PendingResults
{
public:
    struct Row
    {
        QString id;
        QString file; // the results file the row is meant for
        QStringList values; // the four columns of tBase
    };
    // Why the file could not take a row.
    struct Problem
    {
        RegularFile::Kind kind = RegularFile::Kind::Regular; // what stands at the path instead
        int error = 0; // or the system's errno
        QString log; // in English, naming the path
        // In Russian, for the player: "на его месте находится папка", ...
        QString forPlayer() const;
    };

    static QString filePath();
    static QString newId();

    // Appends the rows and syncs them; false (and why) when they could not be kept.
    static bool add(const QList<Row> &rows, Problem *problem = nullptr);
    // Every whole row waiting, in the order written.
    static QList<Row> rows();
    // Drops the rows with these ids, once their results file has committed them.
    static bool remove(const QSet<QString> &ids);
    // At start-up: removes what a rewrite cut short left behind, and takes over the rows an
    // earlier version of the game wrote to "unsaved-results.txt" when it ended, for `storeFile`.
    static void tidyUp(const QString &storeFile);

private:
    static bool rewrite(RegularFile &file, const QByteArray &kept);
};
