#include "battle/sinkresolver.h"
#include "coretestsupport.h"

#include <QTest>

class SinkResolverTest : public QObject
{
    Q_OBJECT

private slots:
    void sinkingMarksTheRingAndLowersOneCounter_data();
    void sinkingMarksTheRingAndLowersOneCounter();
};

void SinkResolverTest::sinkingMarksTheRingAndLowersOneCounter_data()
{
    QTest::addColumn<bool>("computersField");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("length"); // 0: not sunk
    QTest::addColumn<int>("ringSize");

    struct Case
    {
        const char *name;
        QStringList before;
        int x;
        int y;
        QStringList after;
        int length;
        int ringSize;
    };
    const QList<Case> cases = {
        {"one cell in the middle",
         {"..........", "..........", "..........", "..........", "....X.....", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         5,
         {"..........", "..........", "..........", "...ooo....", "...oXo....", "...ooo....",
          "..........", "..........", "..........", ".........."},
         1,
         8},
        {"one cell in a corner",
         {"X.........", "..........", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         1,
         1,
         {"Xo........", "oo........", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         1,
         3},
        {"one cell on an edge",
         {"....X.....", "..........", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         1,
         5,
         {"...oXo....", "...ooo....", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         1,
         5},
        {"four across, hit last at its left end",
         {"..........", "..........", "..........", "..........", "..XXXX....", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         3,
         {"..........", "..........", "..........", ".oooooo...", ".oXXXXo...", ".oooooo...",
          "..........", "..........", "..........", ".........."},
         4,
         14},
        {"four down, hit last at its lower end",
         {"..........", "..........", "....X.....", "....X.....", "....X.....", "....X.....",
          "..........", "..........", "..........", ".........."},
         6,
         5,
         {"..........", "...ooo....", "...oXo....", "...oXo....", "...oXo....", "...oXo....",
          "...ooo....", "..........", "..........", ".........."},
         4,
         14},
        {"four along the top edge, hit last at its right end",
         {"..XXXX....", "..........", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         1,
         6,
         {".oXXXXo...", ".oooooo...", "..........", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         4,
         8},
        {"four down, hit last in its second cell",
         {"..........", "..........", "...X......", "...X......", "...X......", "...X......",
          "..........", "..........", "..........", ".........."},
         4,
         4,
         {"..........", "..ooo.....", "..oXo.....", "..oXo.....", "..oXo.....", "..oXo.....",
          "..ooo.....", "..........", "..........", ".........."},
         4,
         14},
        {"four across, hit last in its second cell",
         {"..........", "..........", "..........", "..........", "..........", "..........",
          "..XXXX....", "..........", "..........", ".........."},
         7,
         4,
         {"..........", "..........", "..........", "..........", "..........", ".oooooo...",
          ".oXXXXo...", ".oooooo...", "..........", ".........."},
         4,
         14},
        {"three in the lower right corner, hit last at its top",
         {"..........", "..........", "..........", "..........", "..........", "..........",
          "..........", ".........X", ".........X", ".........X"},
         8,
         10,
         {"..........", "..........", "..........", "..........", "..........", "..........",
          "........oo", "........oX", "........oX", "........oX"},
         3,
         5},
        {"two down the left edge",
         {"..........", "..........", "..........", "X.........", "X.........", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         1,
         {"..........", "..........", "oo........", "Xo........", "Xo........", "oo........",
          "..........", "..........", "..........", ".........."},
         2,
         6},
        {"four with its far end still afloat",
         {"..........", "..........", "..........", "..........", "..XXXS....", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         3,
         {"..........", "..........", "..........", "..........", "..XXXS....", "..........",
          "..........", "..........", "..........", ".........."},
         0,
         0},
        {"four down with its top still afloat, hit at the bottom",
         {"..........", "..........", "....S.....", "....X.....", "....X.....", "....X.....",
          "..........", "..........", "..........", ".........."},
         6,
         5,
         {"..........", "..........", "....S.....", "....X.....", "....X.....", "....X.....",
          "..........", "..........", "..........", ".........."},
         0,
         0},
        {"a run of five: the fourth pass still finds its intact end",
         {"..........", "..........", "..........", "..........", ".XXXXS....", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         2,
         {"..........", "..........", "..........", "..........", ".XXXXS....", "..........",
          "..........", "..........", "..........", ".........."},
         0,
         0},
        {"two with its neighbour afloat",
         {"..........", "..........", "..........", "..........", "....XS....", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         5,
         {"..........", "..........", "..........", "..........", "....XS....", "..........",
          "..........", "..........", "..........", ".........."},
         0,
         0},
        {"a ring over the ring of a ship sunk before",
         {"..........", "..........", "..........", "...ooo....", "...oXoXX..", "...ooo....",
          "..........", "..........", "..........", ".........."},
         5,
         8,
         {"..........", "..........", "..........", "...oooooo.", "...oXoXXo.", "...oooooo.",
          "..........", "..........", "..........", ".........."},
         2,
         10},
        {"an earlier miss in the ring",
         {"..........", ".o........", "..X.......", "..........", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         3,
         3,
         {"..........", ".ooo......", ".oXo......", ".ooo......", "..........", "..........",
          "..........", "..........", "..........", ".........."},
         1,
         8},
        {"a cell that was not hit",
         {"..........", "..........", "..........", "..........", "....S.....", "..........",
          "..........", "..........", "..........", ".........."},
         5,
         5,
         {"..........", "..........", "..........", "..........", "....S.....", "..........",
          "..........", "..........", "..........", ".........."},
         0,
         0},
    };
    for (const Case &c : cases) {
        for (bool computersField : {true, false}) {
            QTest::addRow("%s, %s", c.name, computersField ? "TestBoomFp" : "TestBoomFc")
                << computersField << c.before << c.x << c.y << c.after << c.length << c.ringSize;
        }
    }
}

void SinkResolverTest::sinkingMarksTheRingAndLowersOneCounter()
{
    // A hit sinks its ship exactly when no part of it is still a Ship: then every cell
    // around it that is not hit becomes a Miss with the miss picture, in reading order,
    // and the owner's count of ships of its length drops by one. Otherwise nothing
    // changes, and the other field and the other side's counters never do.
    QFETCH(bool, computersField);
    QFETCH(QStringList, before);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QStringList, after);
    QFETCH(int, length);
    QFETCH(int, ringSize);

    Board board;
    loadGrid(board, Side::Player, before);
    loadGrid(board, Side::Comp, before);
    const Side side = computersField ? Side::Comp : Side::Player;
    const Side other = computersField ? Side::Player : Side::Comp;
    Score score;
    const SinkResult result
        = computersField ? TestBoomFp(board, score, x, y) : TestBoomFc(board, score, x, y);

    QCOMPARE(result.sunk, length > 0);
    QCOMPARE(result.length, length);
    QCOMPARE(int(result.ring.size()), ringSize);
    QCOMPARE(gridOf(board, side), after);
    QCOMPARE(gridOf(board, other), before);
    for (std::size_t k = 1; k < result.ring.size(); ++k)
        QVERIFY(result.ring[k - 1] < result.ring[k]);
    for (int i = 0; i < Board::CellCount; ++i) {
        const bool ringed
            = std::find(result.ring.begin(), result.ring.end(), i) != result.ring.end();
        QCOMPARE(board.picture(i), ringed ? CellPicture::missMark() : CellPicture::none());
        if (ringed)
            QCOMPARE(Field::sideOf(i), side);
    }

    Score expected;
    if (length > 0)
        --(computersField ? expected.compAfloat : expected.playerAfloat)[length];
    QCOMPARE(score, expected);
}

QTEST_APPLESS_MAIN(SinkResolverTest)
#include "tst_sinkresolver.moc"
