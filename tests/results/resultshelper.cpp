// Stands in for a running game in the tests: appends results to the store of an
// installation folder, a given number of times or until it is killed.
//   results_helper <installation folder> <player|computer> <count, -1 for no end> [keeper]
// Without "keeper" every row goes straight to the store, waiting up to 5 s for the other's
// lock, and "ok <n>" tells that n rows are committed. With it, the rows go through the game's
// ResultsKeeper, a moment apart, as games ending one after another; anything the player would
// be told goes to standard error, and the helper ends when every row is in the store.
// Row i holds the hit counts i % 21 and i / 21 and level i % 3, so a test can
// tell every row of a writer and whether it is whole.
#include "files/installfolder.h"
#include "store/resultskeeper.h"
#include "store/resultsstore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace {

void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("seabattle"));
    const QStringList args = app.arguments();
    if (args.size() != 4 && !(args.size() == 5 && args[4] == QLatin1String("keeper"))) {
        std::fprintf(stderr, "usage: results_helper <folder> <player|computer> <count> [keeper]\n");
        return 2;
    }
    InstallFolder::setPathForTesting(args[1]);
    const ResultRow::Winner winner = args[2] == QLatin1String("player")
        ? ResultRow::Winner::Player
        : ResultRow::Winner::Computer;
    const int count = args[3].toInt();
    const QStringList levels {QStringLiteral("Легкий"), QStringLiteral("Средний"),
                              QStringLiteral("Сложный")};
    auto row = [&](int i) { return ResultRow {winner, i % 21, i / 21, levels[i % 3]}; };

    ResultsStore store;
    const ResultsStore::Status status = store.open();
    std::printf("ready %d %s\n", int(status), qPrintable(store.filePath()));
    std::fflush(stdout);
    if (args.size() == 4) {
        for (int i = 0; count < 0 || i < count; ++i) {
            if (!store.append(row(i), 5000).stored())
                return 1;
            std::printf("ok %d\n", i + 1);
            std::fflush(stdout);
        }
        return 0;
    }

    ResultsKeeper keeper(store);
    bool told = false;
    auto tell = [&](const ResultsTrouble &trouble) {
        std::fprintf(stderr, "told: %d %s\n", int(trouble.kind), qPrintable(trouble.path));
        told = true;
    };
    QObject::connect(&keeper, &ResultsKeeper::stillWaiting, tell);
    for (int i = 0; i < count; ++i) {
        // A file that is only busy is waited for quietly; anything else the player is told.
        const ResultsKeeper::Outcome outcome = keeper.save(row(i));
        if (outcome.kind != ResultsKeeper::Outcome::Kind::Stored
            && outcome.trouble.refusal() != ResultsTrouble::Refusal::Busy)
            tell(outcome.trouble);
        if (outcome.kind == ResultsKeeper::Outcome::Kind::Unkept && !outcome.problem.busy)
            tell({ResultsTrouble::Kind::Refused, PendingRows::filePath()});
        runEventsFor(QRandomGenerator::global()->bounded(20));
    }
    const QDeadlineTimer deadline(120000);
    while (keeper.waitingCount() > 0 && !deadline.hasExpired())
        runEventsFor(10);
    return keeper.waitingCount() == 0 && !told ? 0 : 1;
}
