#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ResultsStore;

// Holds every finished game's row until the store has taken it. A row the store
// refuses (another program holds the file, the disk is full) waits in memory and
// is tried again quietly, with the next result, and at quitting, however the
// program ends: the application quitting, a signal turned into a quit, or the
// window system's plugin calling exit() on a lost display.
class ResultsKeeper : public QObject
{
    Q_OBJECT

public:
    explicit ResultsKeeper(ResultsStore &store, QObject *parent = nullptr);
    ~ResultsKeeper() override;

    // Longest wait for another program's lock when the program ends.
    static constexpr int QuitWaitMs = 2000;
    static constexpr int RetryIntervalMs = 5000;

    // Stores the row, after any earlier one still waiting. Returns what the player
    // should be told, in Russian; empty when every row is stored.
    QString save(const QStringList &row);
    int pendingCount() const { return int(m_pending.size()); }
    // Tries the waiting rows, waiting for a lock at most lockWaitMs; true when none is left.
    bool flush(int lockWaitMs = 0);
    // The last attempt before the program ends: what the store still refuses is
    // written as plain text to unsavedFilePath(), so the player can recover it.
    void flushAtQuit();

    // Tab-separated rows that could not be stored, in the player's data folder.
    static QString unsavedFilePath();

private:
    bool keepAsText();

    ResultsStore &m_store;
    QList<QStringList> m_pending;
    QTimer m_retry;
};
