// How long the results store takes for what the game asks of it: opening at
// start-up, saving one result at the end of a game, and filling the statistics
// window. Prints figures, asserts nothing. Runs in a temporary folder on the
// disk of /tmp (or the folder given as the first argument).
#include "model/installfolder.h"
#include "results/frmstat.h"
#include "results/resultsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
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
    return 0;
}
