#pragma once

#include "store/resultskeeper.h"
#include "store/resultsnotice.h"
#include "store/resultstrouble.h"

#include <QCoreApplication>
#include <QString>

// What the player reads about the results file, in Russian: the store tells what happened,
// and the window says it in these words.
class ResultsWords
{
    Q_DECLARE_TR_FUNCTIONS(ResultsWords)
public:
    // Where the results go when the installation's file or folder cannot take them.
    static QString notice(const ResultsNotice &notice);
    // The store's notice from the opening, if it has one to give, in words; empty otherwise.
    static QString takeNotice(ResultsStore &store);
    // What follows "Вы выиграли" or "Вы проиграли" about the game's row; empty when it was stored
    // or only waits for a busy file.
    static QString outcome(const ResultsKeeper::Outcome &outcome);
    // What is told later: the file stayed busy, or the waiting rows cannot leave the pending file.
    static QString stillWaiting(const ResultsTrouble &trouble, const QString &pendingFile);

private:
    static QString fileKind(RegularFile::Kind kind);
    static QString trouble(const ResultsTrouble &trouble);
    static QString problem(const PendingRows::Problem &problem);
    static QString pendingShown(const QString &pendingFile);
};
