#include "store/resultskeeper.h"

using Refusal = ResultsTrouble::Refusal;

ResultsKeeper::ResultsKeeper(ResultsStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    connect(&m_retry, &QTimer::timeout, this, &ResultsKeeper::retry);
    // The store opens after the window is built, before the event loop starts.
    QTimer::singleShot(0, this, [this] {
        const ResultsStore::Status status = m_store.status();
        if (status == ResultsStore::Status::Writable || status == ResultsStore::Status::Preparing)
            PendingRows::tidyUp(m_store.filePath());
        if (status != ResultsStore::Status::Closed && !m_store.filePath().isEmpty())
            retry();
    });
}

// Nothing to do at the end: every row is in the results file or among the pending rows
// already, or the player was told it had nowhere to go.
ResultsKeeper::~ResultsKeeper() = default;

ResultsKeeper::Outcome ResultsKeeper::save(const ResultRow &row)
{
    // Rows keep their order: a new one goes straight in only when none waits. Rows that
    // another copy of the game keeps adding meanwhile make it wait as a busy file would.
    bool none = waitingCount() == 0;
    m_trouble = {};
    for (int move = 0; !none && move < 3 && m_trouble.stored(); ++move)
        none = moveWaitingRows();
    if (none)
        m_trouble = m_store.append(row);
    else if (m_trouble.stored())
        m_trouble = {ResultsTrouble::Kind::Busy, m_store.filePath()};
    if (m_trouble.stored())
        return {};
    m_unkept.append(row);
    Outcome outcome {Outcome::Kind::Kept, m_trouble, {}, PendingRows::filePath()};
    if (!keepUnkept(&outcome.problem))
        outcome.kind = Outcome::Kind::Unkept;
    if (m_trouble.refusal() == Refusal::Busy) {
        // The patience runs for each new row: the player hears of this one too if it lasts.
        m_busySince.restart();
        m_toldBusy = false;
    }
    scheduleAfter(m_trouble.refusal());
    return outcome;
}

bool ResultsKeeper::keepUnkept(PendingRows::Problem *problem)
{
    if (m_unkept.isEmpty())
        return true;
    QList<QStringList> rows;
    for (const ResultRow &row : std::as_const(m_unkept))
        rows << row.columns();
    PendingRows::Problem why;
    if (!PendingRows::add(m_store.filePath(), rows, &why)) {
        if (problem)
            *problem = why;
        if (!why.busy)
            m_log.say(QStringLiteral("%1 result(s) have no place on disk for now: %2")
                          .arg(m_unkept.size())
                          .arg(why.log),
                      QtWarningMsg);
        return false;
    }
    m_waiting += int(m_unkept.size());
    m_unkept.clear();
    return true;
}

bool ResultsKeeper::moveWaitingRows()
{
    // Every row waiting for this results file goes, this run's and those of other copies of
    // the game or earlier runs alike.
    int left = 0;
    m_trouble = m_store.movePending(&left);
    if (m_trouble.stored())
        m_waiting = left;
    // Rows without a durable place are newer than the pending ones.
    while (m_waiting == 0 && !m_unkept.isEmpty() && m_trouble.stored()) {
        m_trouble = m_store.append(m_unkept.constFirst());
        if (m_trouble.stored())
            m_unkept.removeFirst();
    }
    keepUnkept(nullptr);
    return waitingCount() == 0;
}

void ResultsKeeper::retry()
{
    const bool done = moveWaitingRows();
    scheduleAfter(done ? Refusal::None : m_trouble.refusal());
    if (m_busySince.isValid() && !m_toldBusy && m_waiting > 0
        && m_busySince.elapsed() >= m_patienceMs) {
        m_toldBusy = true;
        m_log.say(QStringLiteral("result not saved yet: %1 stays locked; it is kept in %2")
                      .arg(m_store.filePath(), PendingRows::filePath()));
        emit stillWaiting(m_trouble, PendingRows::filePath());
    }
    // Rows that cannot leave the pending file: said once, and tried again only now and then.
    // Without a data folder there is no such file, and no row waits in it.
    const QString pending = PendingRows::filePath();
    if (!m_toldStuck && !pending.isEmpty() && m_trouble.path == pending) {
        m_toldStuck = true;
        emit stillWaiting(m_trouble, pending);
    }
}

void ResultsKeeper::scheduleAfter(Refusal refusal)
{
    const bool waiting = waitingCount() > 0;
    if (!waiting || refusal == Refusal::None) {
        // Nothing left, or more to move than one transaction takes: go on soon.
        m_busySince.invalidate();
        m_toldBusy = false;
        if (waiting)
            m_retry.start(BusyStepMs);
        else
            m_retry.stop();
        return;
    }
    if (refusal == Refusal::Busy) {
        // Short steps while a commit of another connection may be all it is; a lock held
        // longer is looked at again only now and then.
        if (!m_busySince.isValid())
            m_busySince.start();
        m_retry.start(m_busySince.elapsed() < m_patienceMs ? BusyStepMs : RetryIntervalMs);
        return;
    }
    m_busySince.invalidate();
    // A lasting refusal will not change before the next start; a row without any place on
    // disk is still worth trying again, in case the pending rows can be written later.
    if (refusal == Refusal::Transient || !m_unkept.isEmpty())
        m_retry.start(RetryIntervalMs);
    else
        m_retry.stop();
}
