#pragma once

#include "files/regularfile.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class SqliteDb;
struct sqlite3_backup;

// A new results file made from an existing one (the installation's, when the results move to
// the data folder) by SQLite's online backup, a few hundred pages at a time between the event
// loop's events: a table of any size neither holds up the window nor fills the memory. Before
// it starts, the file's size is checked against what it really holds (a sparse file is
// refused) and against the free space. The copy is built under a name of its own, locked while
// it is made, and takes the target's name only when it is whole and synced, never over a file
// that is there; the parts of a copy that was killed are removed by the next one.
class ResultsFileCopy : public QObject
{
    Q_OBJECT
public:
    static constexpr int PagesPerStep = 256;

    ResultsFileCopy(const QString &from, const QString &to, QObject *parent = nullptr);
    ~ResultsFileCopy() override;

    // Copies one step's pages; true once the copy is finished, well or not.
    bool step();
    // Goes on step by step from the event loop; finished() tells the end.
    void continueInSteps();
    bool succeeded() const { return m_finished && m_error.isEmpty(); }
    // Why the copy failed, in English, naming the files.
    QString error() const { return m_error; }

signals:
    void finished();

private:
    bool start();
    bool finish(const QString &error, bool tell = true);
    void removeLeftovers() const;
    QString targetError() const;

    QString m_from;
    QString m_to;
    QString m_part; // the copy while it is made
    std::optional<RegularFile>
        m_partFile; // locked; synced after each step, so the last one has little left
    std::unique_ptr<SqliteDb> m_source;
    std::unique_ptr<SqliteDb> m_target;
    sqlite3_backup *m_backup = nullptr;
    QTimer m_steps;
    bool m_finished = false;
    QString m_error;
};
