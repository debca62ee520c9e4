#include "coretestsupport.h"
#include "model/fleetlayout.h"

#include <QTest>

namespace {

// A generator stuck on one value, or on a clock that never moves.
class ConstantRandom : public RandomSource
{
public:
    explicit ConstantRandom(double value) : m_value(value) { }
    double next() override { return m_value; }
    void reseedFromClock() override { }

private:
    double m_value;
};

struct Change
{
    int index;
    BoardObserver::Aspect aspect;
    bool operator==(const Change &) const = default;
};

class RecordingObserver : public BoardObserver
{
public:
    void cellChanged(int index, Aspect aspect) override { changes.append({index, aspect}); }
    QList<Change> changes;
};

// Nine ships that leave no cell of rows 1 to 9 free for one more: a last single-cell ship
// drawn vertical has no start position, while row 10 would still take it horizontally.
QList<double> deadEndScript()
{
    const struct
    {
        int size;
        bool vertical;
        int row;
        int column;
    } ships[]
        = {{4, false, 2, 2}, {3, false, 2, 7}, {3, false, 5, 2}, {2, false, 5, 6}, {2, false, 8, 2},
           {2, false, 8, 5}, {1, false, 5, 9}, {1, false, 8, 8}, {1, true, 8, 10}};
    QList<double> script;
    for (const auto &ship : ships)
        script += shipDraws(ship.size, ship.vertical, ship.row, ship.column);
    script.append(0.75); // the tenth ship: vertical
    return script;
}

int countOf(const Board &board, Side side, CellState state)
{
    int n = 0;
    for (int row = 1; row <= 10; ++row)
        for (int column = 1; column <= 10; ++column)
            n += board.state(Field::cellIndex(side, row, column)) == state;
    return n;
}

bool playerFieldBare(const Board &board)
{
    for (int i = 0; i < 100; ++i) {
        if (board.state(i) != CellState::Empty || board.picture(i) != CellPicture::none())
            return false;
    }
    return true;
}

} // namespace

using ShipSpec = QList<int>; // size, vertical (0 or 1), row, column

class FleetLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void randomLayoutsFormLegalFleetsOnBothFields();
    void layoutFollowsTheDrawsInOrder_data();
    void layoutFollowsTheDrawsInOrder();
    void viewSeesClearingThenEachPieceAfterItsState();
    void deadEndLaysTheWholeFleetAfresh_data();
    void deadEndLaysTheWholeFleetAfresh();
    void shipWithNoRoomInItsOrientationLaysNothing();
    void brokenGeneratorsStillEndTheLayout_data();
    void brokenGeneratorsStillEndTheLayout();
    void clockThatStandsStillStillEndsTheLayout_data();
    void clockThatStandsStillStillEndsTheLayout();
};

void FleetLayoutTest::randomLayoutsFormLegalFleetsOnBothFields()
{
    // Over many seeds both fleets keep the rules: 4+3+3+2+2+2+1+1+1+1 straight ships, none
    // touching, inside the ranges of the random starts, the player's drawn piece by piece;
    // laying the computer's fleet leaves the player's field bare.
    for (quint64 seed = 1; seed <= 10000; ++seed) {
        ClockSeededRandom random = seededRandom(seed);
        Board board;
        FleetLayout layout(board, random);

        layout.SetShips(Side::Player);
        const QString player = fleetProblem(board, Side::Player, true, true);
        QVERIFY2(player.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(player)));

        layout.SetShips(Side::Comp);
        const QString comp = fleetProblem(board, Side::Comp, false, true);
        QVERIFY2(comp.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(comp)));
        QCOMPARE(countOf(board, Side::Comp, CellState::Ship), 20);
        for (int i = 100; i < 200; ++i)
            QCOMPARE(board.picture(i), CellPicture::none());
        QVERIFY2(playerFieldBare(board), qPrintable(QString::number(seed)));
    }
}

void FleetLayoutTest::layoutFollowsTheDrawsInOrder_data()
{
    QTest::addColumn<QList<double>>("script");
    QTest::addColumn<QList<ShipSpec>>("ships");

    QTest::newRow("four vertical at the top left")
        << shipDraws(4, true, 1, 1) << QList<ShipSpec> {{4, 1, 1, 1}};
    QTest::newRow("four horizontal in row 10, last column of its range")
        << shipDraws(4, false, 10, 6) << QList<ShipSpec> {{4, 0, 10, 6}};
    QTest::newRow("four vertical, last row of its range")
        << shipDraws(4, true, 6, 10) << QList<ShipSpec> {{4, 1, 6, 10}};
    QTest::newRow("a touching draw is drawn again, row and column")
        << shipDraws(4, true, 1, 1) + shipDraws(3, true, 2, 2)
            + QList<double> {drawFor(1, 7), drawFor(3, 10)}
        << QList<ShipSpec> {{4, 1, 1, 1}, {3, 1, 1, 3}};
    QTest::newRow("an overlapping draw is drawn again")
        << shipDraws(4, false, 5, 3) + shipDraws(3, true, 4, 5)
            + QList<double> {drawFor(7, 7), drawFor(3, 10)}
        << QList<ShipSpec> {{4, 0, 5, 3}, {3, 1, 7, 3}};
    QTest::newRow("one free cell apart in line") << shipDraws(4, false, 1, 1)
            + shipDraws(3, false, 1, 6) << QList<ShipSpec> {{4, 0, 1, 1}, {3, 0, 1, 6}};
}

void FleetLayoutTest::layoutFollowsTheDrawsInOrder()
{
    // Each ship takes one orientation draw, then row and column, again both while the
    // spot touches a ship; its cells carry pieces 1..size from the top or left end.
    QFETCH(QList<double>, script);
    QFETCH(QList<ShipSpec>, ships);

    ScriptedRandom random(script);
    Board board;
    FleetLayout layout(board, random);
    layout.SetShips(Side::Player);

    for (const ShipSpec &ship : ships) {
        const int size = ship[0];
        const bool vertical = ship[1];
        for (int k = 0; k < size; ++k) {
            const int cell = Field::cellIndex(Side::Player, ship[2] + (vertical ? k : 0),
                                              ship[3] + (vertical ? 0 : k));
            QCOMPARE(board.state(cell), CellState::Ship);
            QCOMPARE(board.picture(cell),
                     CellPicture::shipPiece(
                         k + 1, size, vertical ? Orientation::Vertical : Orientation::Horizontal));
        }
    }
    const QString problem = fleetProblem(board, Side::Player, true, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void FleetLayoutTest::viewSeesClearingThenEachPieceAfterItsState()
{
    // A view replays the board: first every player cell emptied and unpictured in reading
    // order, then each ship cell's state followed by its picture. Frames are never touched.
    ScriptedRandom random(shipDraws(4, false, 3, 2));
    Board board;
    board.setFrame(42, false);
    RecordingObserver observer;
    board.setObserver(&observer);
    FleetLayout layout(board, random);
    layout.SetShips(Side::Player);

    QList<Change> expected;
    for (int i = 0; i < 100; ++i)
        expected << Change {i, BoardObserver::Aspect::State}
                 << Change {i, BoardObserver::Aspect::Picture};
    for (int i = 21; i <= 24; ++i)
        expected << Change {i, BoardObserver::Aspect::State}
                 << Change {i, BoardObserver::Aspect::Picture};
    QCOMPARE(observer.changes.mid(0, expected.size()), expected);
    for (const Change &change : observer.changes)
        QVERIFY(change.aspect != BoardObserver::Aspect::Frame);
    QCOMPARE(observer.changes.size(), 200 + 2 * 20);
    QVERIFY(!board.hasFrame(42));
}

void FleetLayoutTest::deadEndLaysTheWholeFleetAfresh_data()
{
    QTest::addColumn<bool>("computers");
    QTest::newRow("player's field") << false;
    QTest::newRow("computer's field") << true;
}

void FleetLayoutTest::deadEndLaysTheWholeFleetAfresh()
{
    // When the orientation drawn for a ship leaves it no room, the layout starts over and
    // still ends with one legal fleet of exactly 20 ship cells and no leftovers.
    QFETCH(bool, computers);
    ScriptedRandom random(deadEndScript());
    Board board;
    FleetLayout layout(board, random);
    layout.SetShips(computers ? Side::Comp : Side::Player);

    // One fresh start, not the fixed fleet kept for generators that repeat themselves: two
    // layouts, each reseeded once and then once per ship.
    QCOMPARE(random.trace().count('r'), 2 * (1 + 10));
    const Side side = computers ? Side::Comp : Side::Player;
    const QString problem = fleetProblem(board, side, !computers, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(countOf(board, side, CellState::Ship), 20);
    for (int i = 0; i < 200; ++i) {
        if (board.state(i) != CellState::Ship)
            QCOMPARE(board.picture(i), CellPicture::none());
    }
    if (computers)
        QVERIFY(playerFieldBare(board));
}

void FleetLayoutTest::shipWithNoRoomInItsOrientationLaysNothing()
{
    // A single ship that cannot stand in its orientation ends without touching the board.
    ScriptedRandom script(deadEndScript().mid(0, 27));
    Board board;
    FleetLayout layout(board, script);
    for (int size : {4, 3, 3, 2, 2, 2, 1, 1, 1}) {
        if (script.next() < 0.5)
            layout.SetShipsG(size, Side::Comp);
        else
            layout.SetShipsV(size, Side::Comp);
    }
    QCOMPARE(countOf(board, Side::Comp, CellState::Ship), 19);
    const QStringList before = gridOf(board, Side::Comp);

    layout.SetShipsV(1, Side::Comp);
    QCOMPARE(gridOf(board, Side::Comp), before);
    layout.SetShipsG(1, Side::Comp);
    QCOMPARE(countOf(board, Side::Comp, CellState::Ship), 20);
    QCOMPARE(board.state(Field::cellIndex(Side::Comp, 10, 10)), CellState::Empty);
}

void FleetLayoutTest::brokenGeneratorsStillEndTheLayout_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("computers");
    for (double value : {0.0, 0.5, 0.999999, 1.0}) {
        QTest::addRow("always %g, player", value) << value << false;
        QTest::addRow("always %g, computer", value) << value << true;
    }
}

void FleetLayoutTest::brokenGeneratorsStillEndTheLayout()
{
    // A generator that keeps repeating itself, or leaves [0, 1), must not hang the game:
    // the layout still ends with a legal fleet.
    QFETCH(double, value);
    QFETCH(bool, computers);
    ConstantRandom random(value);
    Board board;
    FleetLayout layout(board, random);
    layout.SetShips(computers ? Side::Comp : Side::Player);
    const QString problem
        = fleetProblem(board, computers ? Side::Comp : Side::Player, !computers, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void FleetLayoutTest::clockThatStandsStillStillEndsTheLayout_data()
{
    QTest::addColumn<bool>("computers");
    QTest::newRow("player's field") << false;
    QTest::newRow("computer's field") << true;
}

void FleetLayoutTest::clockThatStandsStillStillEndsTheLayout()
{
    // With a clock that never moves every fresh start replays the same dead end; the
    // layout must still end with a legal fleet. Seed 140 is one such dead end.
    QFETCH(bool, computers);
    ClockSeededRandom random([] { return quint64(140); });
    Board board;
    FleetLayout layout(board, random);
    layout.SetShips(computers ? Side::Comp : Side::Player);
    const Side side = computers ? Side::Comp : Side::Player;
    QVERIFY2(gridOf(board, side).first() == "SSSS.SSS..",
             "seed 140 no longer runs into a dead end");
    const QString problem = fleetProblem(board, side, !computers, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(countOf(board, side, CellState::Ship), 20);
}

QTEST_APPLESS_MAIN(FleetLayoutTest)
#include "tst_fleetlayout.moc"
