#pragma once

#include "files/oncelog.h"
#include "results/resultrow.h"
#include "results/resultslog.h"
#include "results/resultsstore.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

// Holds every finished game's row until the results file has it. A row the file refuses is
// written at once to the pending file (written and synced) and moved into the results file
// later, by retries while the game runs and at the next start. Nothing waits for the end of
// the program: exit(), a signal or a lost display find each row on disk already, or the
// player told that it had no place to go.
//
// A file that is only busy (another copy of the game committing, a loaded machine) is tried
// again every BusyStepMs, each try holding the window a moment at most, and the player hears
// of it only when it is still busy after BusyPatienceMs.
class ResultsKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int BusyStepMs = 50;
    static constexpr int BusyPatienceMs = 10000;
    static constexpr int RetryIntervalMs = 5000;

    // Rows left in the pending file by earlier runs are moved as soon as the event loop runs.
    explicit ResultsKeeper(ResultsStore &store, QObject *parent = nullptr);
    ~ResultsKeeper() override;

    // Stores the row, or keeps it for later. Returns what the player must be told now, in
    // Russian; empty when the row is stored or only waits for a busy file.
    QString save(const ResultRow &row);
    // This run's rows that the results file does not hold yet.
    int waitingCount() const { return int(m_ownIds.size() + m_unkept.size()); }
    // Moves every waiting row it can into the results file now; true when none of this
    // run's rows waits any more.
    bool moveWaitingRows();

    void setBusyPatienceForTesting(int ms) { m_patienceMs = ms; }

signals:
    // What the player must be told after save() returned: the file stayed busy too long.
    void laterNotice(const QString &message);

private:
    void retry();
    void scheduleAfter(ResultsStore::Refusal refusal);
    bool keepUnkept(QString *problem);
    QString messageFor(ResultsStore::Refusal refusal, const QString &failure,
                       const QString &problem) const;

    ResultsStore &m_store;
    QSet<QString> m_ownIds; // this run's rows in the pending file
    // This run's rows with no durable place (no data folder to write to): newer than those
    // in the pending file, kept in order, and tried again while the game runs.
    QList<ResultRow> m_unkept;
    int m_leftovers = 0; // rows of other runs for this results file still pending
    QTimer m_retry;
    QElapsedTimer m_busySince;
    bool m_toldBusy = false;
    int m_patienceMs = BusyPatienceMs;
    OnceLog m_log {lcResults};
};
