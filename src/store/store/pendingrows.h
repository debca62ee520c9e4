#pragma once

#include "files/regularfile.h"

#include <QList>
#include <QString>
#include <QStringList>

class SqliteDb;

// Finished games' rows that their results file did not take, kept in table tPending of the
// SQLite file "pending-results.db" in the player's data folder until they are moved there.
// A row is committed, and synced, before add() returns, so whatever ends the program
// afterwards does not lose it. A move is one transaction over both files (the pending file
// attached to the results file's connection): a row is in one of them, never in both, nor in
// neither. Every copy of the game shares the file, and SQLite's locks are never given up:
// a lock that is not had in time leaves the row where it is, to be tried again.
class PendingRows
{
public:
    // Why the file could not take a row: what stands at its path instead of a regular file,
    // or the system's errno; `busy` when another copy of the game holds it for the moment.
    struct Problem
    {
        RegularFile::Kind standing = RegularFile::Kind::Regular;
        int error = 0;
        bool busy = false;
        QString log; // in English, naming the path
        bool fileRefused = false; // the file itself refused the write, not its folder
    };
    static constexpr int WaitMs = 100;

    static QString filePath();

    // Keeps the rows (the four values of tBase each) for `resultsFile`; false and why when
    // they could not be kept. `keys` name what is done once for good (an older file taken
    // over, a notice the player has seen): rows given with keys that are all known already
    // are not added again.
    static bool add(const QString &resultsFile, const QList<QStringList> &rows,
                    Problem *problem = nullptr, const QStringList &keys = {});
    static bool remembers(const QString &key);
    // Whether any row waits for `resultsFile`, told without waiting for a lock.
    static bool waitFor(const QString &resultsFile);
    // Moves every whole row waiting for `resultsFile` into tBase of `results`, its open
    // connection, inside one transaction; false when nothing could be moved (the connection
    // tells why). `left` receives the rows that still wait for the file.
    static bool moveInto(SqliteDb &results, const QString &resultsFile, int *left);
    // At start-up: takes over the rows that earlier versions of the game kept in
    // "pending-results.jsonl" or "unsaved-results.txt", once, and gives the rows of a results
    // file that is gone or refused now to `resultsFile`, the one the game uses.
    static void tidyUp(const QString &resultsFile);
};
