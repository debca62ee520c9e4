#include "battle/computeropponent.h"
#include "battle/sinkresolver.h"
#include "coretestsupport.h"
#include "model/fleetlayout.h"

#include <QTest>

#include <cmath>

namespace {

// A player's field with `ships` cells in state Ship and `open - ships` Empty ones, spread
// at random; every other cell has been fired at.
void prepareField(Board &board, int ships, int open, quint64 seed)
{
    ClockSeededRandom random = seededRandom(seed);
    QList<int> cells;
    for (int i = 0; i < 100; ++i)
        cells.append(i);
    for (int i = 99; i > 0; --i)
        std::swap(cells[i], cells[random.draw(i + 1) - 1]);
    for (int k = 0; k < 100; ++k) {
        CellState state = k % 2 ? CellState::Miss : CellState::Hit;
        if (k < ships)
            state = CellState::Ship;
        else if (k < open)
            state = CellState::Empty;
        board.setState(cells[k], state);
    }
}

// Allows for a deviation a correct implementation reaches about once in 10^9 runs.
constexpr double Sigmas = 6.0;

} // namespace

using Draws = QList<int>; // row, column, row, column, ...

class ComputerOpponentTest : public QObject
{
    Q_OBJECT

private slots:
    void drawsRowThenColumnAndStopsAtTheFirstShip_data();
    void drawsRowThenColumnAndStopsAtTheFirstShip();
    void neverFiresAtACellFiredAtOrRingedAroundASunkShip();
    void targetsSpreadEvenlyOverOpenCells_data();
    void targetsSpreadEvenlyOverOpenCells();
    void hitRateGrowsWithTheLevel_data();
    void hitRateGrowsWithTheLevel();
    void fieldWithNothingLeftGivesNoTarget();
};

void ComputerOpponentTest::drawsRowThenColumnAndStopsAtTheFirstShip_data()
{
    QTest::addColumn<QStringList>("field");
    QTest::addColumn<int>("level");
    QTest::addColumn<Draws>("draws");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("hit");

    const QStringList empty(10, QStringLiteral(".........."));
    QStringList shipAt55 = empty;
    shipAt55[4][4] = u'S';
    QStringList missAt37 = empty;
    missAt37[2][6] = u'o';
    QStringList hitAt55ShipAt66 = empty;
    hitAt55ShipAt66[4][4] = u'X';
    hitAt55ShipAt66[5][5] = u'S';

    QTest::newRow("row first, then column") << empty << 1 << Draws {2, 9} << 2 << 9 << false;
    QTest::newRow("a ship at the first look") << shipAt55 << 1 << Draws {5, 5} << 5 << 5 << true;
    QTest::newRow("a miss is drawn again, row and column")
        << missAt37 << 1 << Draws {3, 7, 4, 1} << 4 << 1 << false;
    QTest::newRow("a hit is drawn again within a try")
        << hitAt55ShipAt66 << 2 << Draws {5, 5, 1, 1, 6, 6} << 6 << 6 << true;
    QTest::newRow("the first ship ends the tries")
        << shipAt55 << 3 << Draws {1, 1, 5, 5} << 5 << 5 << true;
    QTest::newRow("no ship found: the last try's cell")
        << shipAt55 << 3 << Draws {1, 1, 2, 2, 3, 3} << 3 << 3 << false;
    QTest::newRow("a ship only after the last try stays unseen")
        << shipAt55 << 2 << Draws {1, 1, 2, 2} << 2 << 2 << false;
    QTest::newRow("level 0 still looks once") << shipAt55 << 0 << Draws {1, 1} << 1 << 1 << false;
}

void ComputerOpponentTest::drawsRowThenColumnAndStopsAtTheFirstShip()
{
    // A move reseeds once, then each try draws a row and a column (both again while the
    // cell was fired at); the first ship part becomes the target, otherwise the last
    // try's cell does. No draw is taken beyond that.
    QFETCH(QStringList, field);
    QFETCH(int, level);
    QFETCH(Draws, draws);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, hit);

    Board board;
    loadGrid(board, Side::Player, field);
    loadGrid(board, Side::Comp, QStringList(10, QStringLiteral("SSSSSSSSSS")));
    QList<double> script;
    for (int value : draws)
        script.append(drawFor(value, 10));
    ScriptedRandom random(script);

    const ComputerTarget target = chooseTarget(board, level, random);
    QCOMPARE(target.row, row);
    QCOMPARE(target.column, column);
    QCOMPARE(target.hit, hit);
    QCOMPARE(random.trace(), QStringLiteral("r") + QString(draws.size(), u'd'));
    QCOMPARE(gridOf(board, Side::Player), field);
}

void ComputerOpponentTest::neverFiresAtACellFiredAtOrRingedAroundASunkShip()
{
    // Whatever the level, the target is a cell not fired at, ring cells of a sunk ship
    // included, and it is reported as a hit exactly when it holds a ship part.
    Board board;
    ClockSeededRandom layoutRandom = seededRandom(7);
    FleetLayout(board, layoutRandom).SetShips(Side::Player);
    Score score;
    const QList<ShipRun> ships = shipsOf(board, Side::Player);
    for (int s = 0; s < 3; ++s) {
        for (int cell : ships[s].cells)
            board.setState(cell, CellState::Hit);
        QVERIFY(TestBoomFc(board, score, Field::rowOf(ships[s].cells[0]),
                           Field::columnOf(ships[s].cells[0]))
                    .sunk);
    }
    for (int cell : ships[3].cells.mid(1))
        board.setState(cell, CellState::Hit);

    ClockSeededRandom random = seededRandom(11);
    for (int move = 0; move < 30000; ++move) {
        const int level = move % 3 + 1;
        const ComputerTarget target = chooseTarget(board, level, random);
        QVERIFY(target.isValid());
        const CellState state
            = board.state(Field::cellIndex(Side::Player, target.row, target.column));
        QVERIFY2(
            !isFiredAt(state),
            qPrintable(
                QStringLiteral("move %1 at %2,%3").arg(move).arg(target.row).arg(target.column)));
        QCOMPARE(target.hit, state == CellState::Ship);
    }
}

void ComputerOpponentTest::targetsSpreadEvenlyOverOpenCells_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("open");
    QTest::newRow("level 1, all open") << 1 << 100;
    QTest::newRow("level 3, all open") << 3 << 100;
    QTest::newRow("level 1, 37 open") << 1 << 37;
    QTest::newRow("level 2, 5 open") << 2 << 5;
}

void ComputerOpponentTest::targetsSpreadEvenlyOverOpenCells()
{
    // With no ship part left to find, every open cell is equally likely to be the target,
    // the tenth row and column too, and no fired-at cell ever is.
    QFETCH(int, level);
    QFETCH(int, open);
    Board board;
    prepareField(board, 0, open, 3);
    ClockSeededRandom random = seededRandom(5);
    const int moves = 1000 * open;
    std::array<int, 100> counts {};
    for (int move = 0; move < moves; ++move) {
        const ComputerTarget target = chooseTarget(board, level, random);
        ++counts[Field::cellIndex(Side::Player, target.row, target.column)];
    }
    const double p = 1.0 / open;
    const double sigma = std::sqrt(moves * p * (1 - p));
    for (int i = 0; i < 100; ++i) {
        if (isFiredAt(board.state(i)))
            QCOMPARE(counts[i], 0);
        else
            QVERIFY2(
                std::abs(counts[i] - moves * p) <= Sigmas * sigma,
                qPrintable(QStringLiteral("cell %1: %2 of %3").arg(i).arg(counts[i]).arg(moves)));
    }
}

void ComputerOpponentTest::hitRateGrowsWithTheLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("ships");
    QTest::addColumn<int>("open");
    QTest::addColumn<double>("expected");

    QTest::newRow("level 1, start of a game") << 1 << 20 << 100 << 0.2;
    QTest::newRow("level 2, start of a game") << 2 << 20 << 100 << 1 - 0.8 * 0.8;
    QTest::newRow("level 3, start of a game") << 3 << 20 << 100 << 1 - 0.8 * 0.8 * 0.8;
    QTest::newRow("level 1, one part among five") << 1 << 1 << 5 << 0.2;
    QTest::newRow("level 3, one part among five") << 3 << 1 << 5 << 61.0 / 125;
    QTest::newRow("level 2, 7 parts among 40") << 2 << 7 << 40 << 1 - std::pow(33.0 / 40, 2);
}

void ComputerOpponentTest::hitRateGrowsWithTheLevel()
{
    // With s ship parts among u open cells a shot at level n hits with probability
    // 1 - (1 - s/u)^n: each of the n looks is uniform over the open cells.
    QFETCH(int, level);
    QFETCH(int, ships);
    QFETCH(int, open);
    QFETCH(double, expected);

    Board board;
    prepareField(board, ships, open, 9);
    ClockSeededRandom random = seededRandom(level * 1000 + open);
    const int moves = 100000;
    int hits = 0;
    for (int move = 0; move < moves; ++move)
        hits += chooseTarget(board, level, random).hit;
    const double sigma = std::sqrt(moves * expected * (1 - expected));
    QVERIFY2(std::abs(hits - moves * expected) <= Sigmas * sigma,
             qPrintable(QStringLiteral("%1 hits in %2 moves, expected %3")
                            .arg(hits)
                            .arg(moves)
                            .arg(moves * expected)));
}

void ComputerOpponentTest::fieldWithNothingLeftGivesNoTarget()
{
    // A field where every cell was fired at has nothing to aim at: the move must end, and
    // says so, instead of drawing for ever.
    Board board;
    prepareField(board, 0, 0, 1);
    ClockSeededRandom random = seededRandom(1);
    const ComputerTarget target = chooseTarget(board, 3, random);
    QVERIFY(!target.isValid());
    QVERIFY(!target.hit);
}

QTEST_APPLESS_MAIN(ComputerOpponentTest)
#include "tst_computeropponent.moc"
