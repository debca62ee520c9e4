#include "battle/computeropponent.h"
#include "battle/sinkresolver.h"
#include "coretestsupport.h"
#include "model/fleetlayout.h"

#include <QTest>

#include <vector>

namespace {

using Fleet = std::vector<std::vector<int>>; // each ship's board indices

Fleet fleetOf(const Board &board, Side side)
{
    Fleet fleet;
    for (const ShipRun &ship : shipsOf(board, side))
        fleet.emplace_back(ship.cells.begin(), ship.cells.end());
    return fleet;
}

// The counts of ships afloat by size, read off the fleet as it stands on the board.
std::array<int, 5> afloatOf(const Board &board, const Fleet &fleet)
{
    std::array<int, 5> afloat {};
    for (const auto &ship : fleet) {
        for (int cell : ship) {
            if (board.state(cell) != CellState::Hit) {
                ++afloat[ship.size()];
                break;
            }
        }
    }
    return afloat;
}

// A whole game through the core alone. Returns an empty text when every shot kept the
// counters in step with the fields, otherwise what went wrong.
QString playGame(quint64 seed)
{
    ClockSeededRandom random = seededRandom(seed);
    ClockSeededRandom player = seededRandom(seed + 0x5eed0000);
    const int level = int(seed % 3) + 1;
    Board board;
    Score score;
    FleetLayout layout(board, random);
    layout.SetShips(Side::Comp);
    layout.SetShips(Side::Player);
    const Fleet compFleet = fleetOf(board, Side::Comp);
    const Fleet playerFleet = fleetOf(board, Side::Player);
    if (compFleet.size() != 10 || playerFleet.size() != 10)
        return QStringLiteral("a fleet of the wrong size");

    bool playersTurn = true;
    for (int shot = 0; shot < 200; ++shot) {
        if (playersTurn) {
            int cell;
            do
                cell = 100 + player.draw(100) - 1;
            while (isFiredAt(board.state(cell)));
            if (board.state(cell) == CellState::Ship) {
                ++score.userHits;
                board.setState(cell, CellState::Hit);
                TestBoomFp(board, score, Field::rowOf(cell), Field::columnOf(cell));
            } else {
                ++score.userMisses;
                board.setPicture(cell, CellPicture::missMark());
                board.setState(cell, CellState::Miss);
                playersTurn = false;
            }
            if (afloatOf(board, compFleet) != score.compAfloat)
                return QStringLiteral("the computer's ships afloat miscounted at shot %1")
                    .arg(shot);
        } else {
            const ComputerTarget target = chooseTarget(board, level, random);
            if (!target.isValid())
                return QStringLiteral("no target at shot %1").arg(shot);
            const int cell = Field::cellIndex(Side::Player, target.row, target.column);
            if (isFiredAt(board.state(cell))
                || target.hit != (board.state(cell) == CellState::Ship))
                return QStringLiteral("a wrong target at shot %1").arg(shot);
            if (target.hit) {
                ++score.compHits;
                board.setState(cell, CellState::Hit);
                TestBoomFc(board, score, target.row, target.column);
            } else {
                ++score.compMisses;
                board.setPicture(cell, CellPicture::missMark());
                board.setState(cell, CellState::Miss);
                playersTurn = true;
            }
            if (afloatOf(board, playerFleet) != score.playerAfloat)
                return QStringLiteral("the player's ships afloat miscounted at shot %1").arg(shot);
        }
        const bool playerWon = score.userHits == 20;
        const bool computerWon = score.compHits == 20;
        if (playerWon != (score.compAfloat == std::array<int, 5> {})
            || computerWon != (score.playerAfloat == std::array<int, 5> {}))
            return QStringLiteral("the end of the game miscounted at shot %1").arg(shot);
        if (playerWon || computerWon)
            return {};
    }
    return QStringLiteral("no winner after 200 shots");
}

} // namespace

class CoreSoakTest : public QObject
{
    Q_OBJECT

private slots:
    void everyGameEndsWithCountersInStep();
};

void CoreSoakTest::everyGameEndsWithCountersInStep()
{
    // Whole games, both fleets laid at random, the player firing at random and the
    // computer at every level: each ends with a winner, and after every shot the ships
    // counted afloat are exactly the ships with a part not yet hit.
    // Under valgrind a game runs some fifty times slower: the _memcheck run sets
    // SEABATTLE_SOAK_GAMES lower so that it ends within QtTest's watchdog on a Debug build
    // too. A memory fault of the core shows in a few thousand games as well as in all.
    const quint64 games = qEnvironmentVariableIsSet("SEABATTLE_SOAK_GAMES")
        ? qEnvironmentVariable("SEABATTLE_SOAK_GAMES").toULongLong()
        : 100000;
    QVERIFY(games > 0);
    for (quint64 seed = 1; seed <= games; ++seed) {
        const QString problem = playGame(seed);
        if (!problem.isEmpty())
            QFAIL(qPrintable(QStringLiteral("game %1: %2").arg(seed).arg(problem)));
    }
}

QTEST_APPLESS_MAIN(CoreSoakTest)
#include "tst_coresoak.moc"
