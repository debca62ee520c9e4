// How long the results store takes for what the game asks of it: opening at
// start-up, saving one result at the end of a game, and filling the statistics
// window, also over a million rows with one value of megabytes, with the memory
// that window takes and gives back. Prints figures, asserts nothing. Runs in a temporary folder on
// the disk of /tmp (or the folder given as the first argument).
#include "model/installfolder.h"
#include "results/frmstat.h"
#include "results/resultsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

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

} // namespace

int main(int argc, char *argv[])
{
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
        first.append("Игрок", "20", QString::number(i % 21), "Средний");
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
        frmStat dlg(nullptr, second);
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
    return 0;
}
