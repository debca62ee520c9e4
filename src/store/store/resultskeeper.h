#pragma once

#include "files/oncelog.h"
#include "store/pendingrows.h"
#include "store/resultrow.h"
#include "store/resultsfile.h"
#include "store/resultsstore.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

// Holds every finished game's row until the results file has it. A row the file refuses is
// committed at once to the pending rows and moved into the results file later, by retries
// while the game runs and at the next start. Nothing waits for the end of the program:
// exit(), a signal or a lost display find each row on disk already, or the player told that
// it had no place to go.
//
// A file that is only busy (another copy of the game committing, a loaded machine) is tried
// again every BusyStepMs, each try holding the window a moment at most, and the player hears
// of it only when it is still busy after BusyPatienceMs. Anything else is tried again every
// RetryIntervalMs at the most.
class ResultsKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int BusyStepMs = 50;
    static constexpr int BusyPatienceMs = 10000;
    static constexpr int RetryIntervalMs = 5000;

    // What became of a finished game's row.
    struct Outcome
    {
        enum class Kind {
            Stored, // in the results file
            Kept, // among the pending rows, `trouble` telling why
            Unkept, // in memory only: the pending rows could not take it either (`problem`)
        };
        Kind kind = Kind::Stored;
        ResultsTrouble trouble;
        PendingRows::Problem problem;
        QString pendingFile;
    };

    // Rows left waiting by earlier runs are moved as soon as the event loop runs.
    explicit ResultsKeeper(ResultsStore &store, QObject *parent = nullptr);
    ~ResultsKeeper() override;

    Outcome save(const ResultRow &row);
    // Rows that the results file does not hold yet: this run's and those waiting for the
    // same file from other copies of the game or earlier runs.
    int waitingCount() const { return m_waiting + int(m_unkept.size()); }
    // Moves the waiting rows it can into the results file now; true when none waits any more.
    bool moveWaitingRows();

    void setBusyPatienceForTesting(int ms) { m_patienceMs = ms; }

signals:
    // Told after save() returned, once: the file stayed busy past the patience, or the
    // waiting rows cannot leave the pending file (`trouble` names it).
    void stillWaiting(const ResultsTrouble &trouble, const QString &pendingFile);

private:
    void retry();
    void scheduleAfter(ResultsTrouble::Refusal refusal);
    bool keepUnkept(PendingRows::Problem *problem);

    ResultsStore &m_store;
    int m_waiting = 0; // whole rows among the pending ones for this results file
    // This run's rows with no durable place (no data folder to write to): newer than the
    // pending ones, kept in order, and tried again while the game runs.
    QList<ResultRow> m_unkept;
    ResultsTrouble m_trouble; // of the last attempt
    QTimer m_retry {this};
    QElapsedTimer m_busySince;
    bool m_toldBusy = false;
    bool m_toldStuck = false;
    int m_patienceMs = BusyPatienceMs;
    OnceLog m_log {lcResults};
};
