// How long the results store takes for what the game asks of it: opening at
// start-up, saving one result at the end of a game, and filling the statistics
// window, also over a million rows with one value of megabytes, with the memory
// that window takes and gives back; and the first start of a read-only installation
// whose file holds those million rows, in a process of its own. Prints figures, asserts
// nothing. Runs in a temporary folder on the disk of /tmp (or the folder given as the
// first argument).
#include "files/installfolder.h"
#include "stats/frmstat.h"
#include "store/resultsstore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace {

double ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void printSpread(const char *what, QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double s : samples)
        sum += s;
    std::printf("%-40s n=%-6lld mean %8.3f ms  median %8.3f ms  p99 %8.3f ms  max %8.3f ms\n", what,
                qlonglong(samples.size()), sum / samples.size(), samples[samples.size() / 2],
                samples[samples.size() * 99 / 100], samples.last());
}

// Resident memory of this process.
double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1 << 20) : 0;
}

// The highest resident memory of this process so far.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// A million games behind the store's back, the first with a winner of 8 MB.
void fillHugeTable(const QString &path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "huge");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec("CREATE TABLE \"tBase\" (\"Победитель\" TEXT, \"Попаданий юзера\" TEXT, "
                   "\"Попаданий компьютера\" TEXT, \"Уровень сложности\" TEXT)");
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO \"tBase\" VALUES (?, ?, ?, ?)");
        for (int i = 0; i < 1000000; ++i) {
            insert.addBindValue(i == 0 ? QString(8 << 20, QChar(u'я')) : QStringLiteral("Игрок"));
            insert.addBindValue(QStringLiteral("20"));
            insert.addBindValue(QString::number(i % 20));
            insert.addBindValue(QStringLiteral("Средний"));
            insert.exec();
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase("huge");
}

void benchHugeTable(const QString &folder)
{
    const QString path = folder + QStringLiteral("/huge.mdb");
    fillHugeTable(path);
    const double baseline = residentMb();
    QList<double> opens;
    double openPeak = 0;
    double scrolledPeak = 0;
    double scrollMs = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        auto *dlg = new frmStat(nullptr, path);
        dlg->show();
        QCoreApplication::processEvents();
        opens << ms(timer);
        openPeak = std::max(openPeak, residentMb() - baseline);
        // A player dragging the scroll bar to its end 100 times: 100 pages more.
        auto *grid = dlg->findChild<QTableView *>(QStringLiteral("Grid"));
        timer.restart();
        for (int page = 0; page < 100; ++page) {
            grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
            QCoreApplication::processEvents();
        }
        scrollMs = ms(timer);
        scrolledPeak = std::max(scrolledPeak, residentMb() - baseline);
        delete dlg;
    }

    printSpread("statistics window, 1e6 rows, 8 MB value", opens);
    std::printf("%-40s %8.3f ms\n", "  100 pages scrolled into view", scrollMs);
    std::printf("%-40s %8.1f MB\n", "  memory added, window open", openPeak);
    std::printf("%-40s %8.1f MB\n", "  memory added, 100 pages scrolled", scrolledPeak);
    std::printf("%-40s %8.1f MB\n", "  memory added, window closed", residentMb() - baseline);
}

// In a process of its own: a read-only installation whose Base.mdb holds a million rows
// starts for the first time; its results go to the data folder, copied from that file.
int firstStart(const QString &installDir)
{
    InstallFolder::setPathForTesting(installDir);
    const double before = residentMb();
    QElapsedTimer timer;
    timer.start();
    ResultsStore store;
    const ResultsStore::Status opened = store.open();
    const double openMs = ms(timer);
    // What the window would feel: the longest time the event loop did not come round.
    QElapsedTimer gap;
    gap.start();
    qint64 longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, gap.nsecsElapsed());
        gap.restart();
        if (store.status() != ResultsStore::Status::Preparing)
            QCoreApplication::quit();
    });
    tick.start(5);
    gap.restart();
    if (opened == ResultsStore::Status::Preparing)
        QCoreApplication::exec();
    const double readyMs = ms(timer);
    std::printf("%-40s %8.3f ms  (status %d)\n", "first start, 1e6 rows: open()", openMs,
                int(opened));
    std::printf("%-40s %8.3f ms  (status %d)\n", "  until the copy is the results file", readyMs,
                int(store.status()));
    std::printf("%-40s %8.3f ms\n", "  longest stall of the event loop", double(longestGap) / 1e6);
    std::printf("%-40s %8.1f MB  (peak %.1f MB, %.1f MB before opening)\n",
                "  memory added at the peak", peakMb() - before, peakMb(), before);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "count");
    db.setDatabaseName(store.filePath());
    db.open();
    QSqlQuery count("SELECT count(*) FROM \"tBase\"", db);
    count.next();
    std::printf("%-40s %8lld\n", "  rows in the data folder's file", count.value(0).toLongLong());
    return 0;
}

void benchFirstStart(const QString &folder, const char *self)
{
    const QString installDir = folder + QStringLiteral("/readonly-game");
    QDir().mkpath(installDir);
    fillHugeTable(installDir + QStringLiteral("/Base.mdb"));
    // Write bits do not stop root: the folder is made immutable then.
    const bool root = ::geteuid() == 0;
    if (root)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), installDir});
    else
        QFile::setPermissions(installDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    std::fflush(stdout);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QString::fromLocal8Bit(self), {QStringLiteral("--first-start"), installDir});
    child.waitForFinished(600000);
    if (root)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), installDir});
    else
        QFile::setPermissions(
            installDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--first-start") {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("seabattle"));
        return firstStart(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/bench-XXXXXX" : QString());
    InstallFolder::setPathForTesting(dir.path());

    QElapsedTimer timer;
    timer.start();
    ResultsStore first;
    first.open();
    std::printf("%-40s %8.3f ms\n", "open, first run (file and table made)", ms(timer));

    QList<double> appends;
    for (int i = 0; i < 300; ++i) {
        timer.restart();
        first.append({ResultRow::Winner::Player, 20, i % 21, "Средний"});
        appends << ms(timer);
    }
    printSpread("append one result (synchronous=FULL)", appends);
    // The rest of 10000 games in one go, behind the store's back.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bulk");
        db.setDatabaseName(first.filePath());
        db.open();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO \"tBase\" VALUES (?, ?, ?, ?)");
        for (int i = 0; i < 9700; ++i) {
            insert.addBindValue("Компьютер");
            insert.addBindValue(QString::number(i % 21));
            insert.addBindValue("20");
            insert.addBindValue("Сложный");
            insert.exec();
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase("bulk");

    timer.restart();
    ResultsStore second;
    second.open();
    std::printf("%-40s %8.3f ms\n", "open, 10000 rows present", ms(timer));

    QList<double> windows;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        frmStat dlg(nullptr, second.listedFile());
        windows << ms(timer);
    }
    printSpread("statistics window with 10000 rows", windows);

    QList<double> small;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        frmStat dlg(nullptr, first.filePath() + ".absent");
        small << ms(timer);
    }
    printSpread("statistics window, no file", small);

    benchHugeTable(dir.path());
    benchFirstStart(dir.path(), argv[0]);
    return 0;
}
