#include "results/resultskeeper.h"

#include "results/pendingresults.h"
#include "results/resultslog.h"
#include "results/resultsstore.h"

#include <QDir>

using Refusal = ResultsStore::Refusal;

namespace {

QString shownPendingFile()
{
    const QString path = PendingResults::filePath();
    return path.isEmpty() ? QStringLiteral("в папке данных игры") : QDir::toNativeSeparators(path);
}

} // namespace

ResultsKeeper::ResultsKeeper(ResultsStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    connect(&m_retry, &QTimer::timeout, this, &ResultsKeeper::retry);
    // The store opens after the window is built, before the event loop starts.
    QTimer::singleShot(0, this, [this] {
        if (m_store.status() == ResultsStore::Status::Closed || m_store.filePath().isEmpty())
            return;
        PendingResults::tidyUp(m_store.filePath());
        retry();
    });
}

// Nothing to do at the end: every row is in the results file or the pending file already,
// or the player was told it had nowhere to go.
ResultsKeeper::~ResultsKeeper() = default;

QString ResultsKeeper::save(const ResultRow &row)
{
    // This run's rows keep their order: a new one goes straight in only when none waits.
    if ((waitingCount() == 0 || moveWaitingRows()) && m_store.append(row))
        return {};
    const Refusal refusal = m_store.refusal();
    const QString failure = m_store.failure();
    m_unkept.append(row);
    QString problem;
    keepUnkept(&problem);
    if (refusal == Refusal::Busy) {
        // The patience runs for each new row: the player hears of this one too if it lasts.
        m_busySince.restart();
        m_toldBusy = false;
    }
    scheduleAfter(refusal);
    return messageFor(refusal, failure, problem);
}

bool ResultsKeeper::keepUnkept(QString *problem)
{
    if (m_unkept.isEmpty())
        return true;
    QList<PendingResults::Row> rows;
    for (const ResultRow &row : std::as_const(m_unkept))
        rows << PendingResults::Row {PendingResults::newId(), m_store.filePath(), row.columns()};
    PendingResults::Problem why;
    if (!PendingResults::add(rows, &why)) {
        if (problem)
            *problem = why.forPlayer();
        m_log.say(QStringLiteral("%1 result(s) have no place on disk for now: %2")
                      .arg(m_unkept.size())
                      .arg(why.log),
                  QtWarningMsg);
        return false;
    }
    for (const PendingResults::Row &row : std::as_const(rows))
        m_ownIds.insert(row.id);
    m_unkept.clear();
    return true;
}

bool ResultsKeeper::moveWaitingRows()
{
    // Every row waiting for this results file goes, this run's and those of other copies of
    // the game or earlier runs alike: the ids keep each from being stored twice.
    QList<PendingResults::Row> waiting;
    for (const PendingResults::Row &row : PendingResults::rows()) {
        if (row.file == m_store.filePath())
            waiting << row;
    }
    QSet<QString> taken;
    if (!waiting.isEmpty() && m_store.appendPending(waiting, &taken))
        PendingResults::remove(taken);
    // Only the pending file tells what is still to move: another copy may have moved ours.
    QSet<QString> still;
    m_leftovers = 0;
    for (const PendingResults::Row &row : PendingResults::rows()) {
        if (m_ownIds.contains(row.id))
            still.insert(row.id);
        else if (row.file == m_store.filePath())
            ++m_leftovers;
    }
    m_ownIds = still;
    // Rows without a durable place are newer than those in the pending file.
    while (m_ownIds.isEmpty() && !m_unkept.isEmpty()) {
        if (!m_store.append(m_unkept.constFirst()))
            break;
        m_unkept.removeFirst();
    }
    keepUnkept(nullptr);
    return waitingCount() == 0;
}

void ResultsKeeper::retry()
{
    const bool done = moveWaitingRows();
    scheduleAfter(done && m_leftovers == 0 ? Refusal::None : m_store.refusal());
    if (m_busySince.isValid() && !m_toldBusy && !m_ownIds.isEmpty()
        && m_busySince.elapsed() >= m_patienceMs) {
        m_toldBusy = true;
        qCWarning(lcResults).noquote()
            << "result not saved yet:" << m_store.filePath() << "stays locked; it is kept in"
            << PendingResults::filePath();
        emit laterNotice(
            QStringLiteral("Результат игры пока не сохранен: %1.\nОн записан в файл %2, и игра "
                           "перенесет его в файл результатов, когда тот освободится.")
                .arg(m_store.failure(), shownPendingFile()));
    }
}

void ResultsKeeper::scheduleAfter(Refusal refusal)
{
    const bool waiting = waitingCount() > 0 || m_leftovers > 0;
    if (!waiting || refusal == Refusal::None) {
        // Nothing left, or only the pending file's lock stood in the way: go on soon.
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
    // disk is still worth trying again, in case the pending file can be written later.
    if (refusal == Refusal::Transient || !m_unkept.isEmpty())
        m_retry.start(RetryIntervalMs);
    else
        m_retry.stop();
}

QString ResultsKeeper::messageFor(Refusal refusal, const QString &failure,
                                  const QString &problem) const
{
    const QString head = QStringLiteral("Результат игры не сохранен: %1.").arg(failure);
    if (!m_unkept.isEmpty())
        return head
            + QStringLiteral("\nЗаписать его в файл %1 тоже нельзя: %2.\nПока игра открыта, она "
                             "будет пытаться сохранить результат; после выхода из игры он будет "
                             "потерян.")
                  .arg(shownPendingFile(), problem);
    // Probably only slow: the player hears of it if it lasts.
    if (refusal == Refusal::Busy)
        return {};
    if (refusal == Refusal::Transient)
        return head
            + QStringLiteral("\nОн записан в файл %1, и игра попробует перенести его в файл "
                             "результатов еще раз.")
                  .arg(shownPendingFile());
    return head
        + QStringLiteral("\nОн записан в файл %1; игра перенесет его в файл результатов при "
                         "следующем запуске, если запись в него будет возможна.")
              .arg(shownPendingFile());
}
