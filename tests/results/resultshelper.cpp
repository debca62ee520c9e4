// Stands in for a running game in the tests: appends results to the store of an
// installation folder, a given number of times or until it is killed.
//   results_helper <installation folder> <player|computer> <count, -1 for no end>
// Like two games retrying a busy file, it waits up to 5 s for the other's lock.
// Row i holds the hit counts i % 21 and i / 21 and level i % 3, so a test can
// tell every row of a writer and whether it is whole.
#include "model/installfolder.h"
#include "results/resultsstore.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("seabattle"));
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: results_helper <folder> <player|computer> <count>\n");
        return 2;
    }
    InstallFolder::setPathForTesting(args[1]);
    const QString winner = args[2] == QLatin1String("player") ? QStringLiteral("Игрок")
                                                              : QStringLiteral("Компьютер");
    const int count = args[3].toInt();
    const QStringList levels {QStringLiteral("Легкий"), QStringLiteral("Средний"),
                              QStringLiteral("Сложный")};

    ResultsStore store;
    const ResultsStore::Status status = store.open();
    std::printf("ready %d %s\n", int(status), qPrintable(store.filePath()));
    std::fflush(stdout);
    for (int i = 0; count < 0 || i < count; ++i) {
        if (!store.append(winner, QString::number(i % 21), QString::number(i / 21), levels[i % 3],
                          5000))
            return 1;
        std::printf("ok %d\n", i + 1);
        std::fflush(stdout);
    }
    return 0;
}
