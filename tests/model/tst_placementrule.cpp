#include "coretestsupport.h"
#include "placement/placementrule.h"

#include <QTest>

namespace {

const QStringList EmptyField(10, QStringLiteral(".........."));

// The field with ships at the given places, written into an empty field.
QStringList withShips(std::initializer_list<std::pair<int, int>> cells)
{
    QStringList rows = EmptyField;
    for (const auto &[row, column] : cells)
        rows[row - 1][column - 1] = u'S';
    return rows;
}

// A stale preview: every empty cell of the player's field with its frame off.
void leaveStalePreview(Board &board)
{
    for (int i = 0; i < 100; ++i) {
        if (board.state(i) == CellState::Empty)
            board.setFrame(i, false);
    }
}

void drawY(Board &board, bool vertical, int size, int r, int c, bool bolPoss)
{
    if (vertical)
        DrawYV(board, size, r, c, bolPoss);
    else
        DrawYG(board, size, r, c, bolPoss);
}

class CountingObserver : public BoardObserver
{
public:
    void cellChanged(int, Aspect) override { ++count; }
    int count = 0;
};

} // namespace

class PlacementRuleTest : public QObject
{
    Q_OBJECT

private slots:
    void shipStandsOnlyInsideAndClearOfOtherShips_data();
    void shipStandsOnlyInsideAndClearOfOtherShips();
    void pointerOverComputerFieldOnlyClearsThePreview_data();
    void pointerOverComputerFieldOnlyClearsThePreview();
    void clearingWithNothingToClearReportsNoChange();
};

void PlacementRuleTest::shipStandsOnlyInsideAndClearOfOtherShips_data()
{
    QTest::addColumn<QStringList>("field");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("c");
    QTest::addColumn<bool>("fits");

    QTest::newRow("vertical four, top on row 7") << EmptyField << true << 4 << 7 << 5 << true;
    QTest::newRow("vertical four, top on row 8") << EmptyField << true << 4 << 8 << 5 << false;
    QTest::newRow("horizontal four, left end on column 7")
        << EmptyField << false << 4 << 5 << 7 << true;
    QTest::newRow("horizontal four, left end on column 8")
        << EmptyField << false << 4 << 5 << 8 << false;
    QTest::newRow("vertical two, top on row 10") << EmptyField << true << 2 << 10 << 1 << false;
    QTest::newRow("vertical one in the last corner") << EmptyField << true << 1 << 10 << 10 << true;
    QTest::newRow("horizontal one in the last corner")
        << EmptyField << false << 1 << 10 << 10 << true;
    QTest::newRow("horizontal four ending in the last corner")
        << EmptyField << false << 4 << 10 << 7 << true;

    const QStringList middle = withShips({{5, 5}});
    QTest::newRow("one cell at the upper left corner of a ship")
        << middle << true << 1 << 4 << 4 << false;
    QTest::newRow("one cell at the upper right corner of a ship")
        << middle << false << 1 << 4 << 6 << false;
    QTest::newRow("one cell at the lower left corner of a ship")
        << middle << true << 1 << 6 << 4 << false;
    QTest::newRow("one cell at the lower right corner of a ship")
        << middle << false << 1 << 6 << 6 << false;
    QTest::newRow("one cell beside a ship") << middle << true << 1 << 5 << 6 << false;
    QTest::newRow("one cell on a ship") << middle << false << 1 << 5 << 5 << false;
    QTest::newRow("one cell a free cell right of a ship") << middle << true << 1 << 5 << 7 << true;
    QTest::newRow("one cell a free cell left of a ship") << middle << false << 1 << 5 << 3 << true;
    QTest::newRow("one cell a free cell below a ship") << middle << false << 1 << 7 << 5 << true;
    QTest::newRow("one cell a free cell above a ship") << middle << true << 1 << 3 << 5 << true;
    QTest::newRow("vertical three whose lower end touches")
        << withShips({{9, 5}}) << true << 3 << 6 << 5 << false;
    QTest::newRow("vertical three a free cell above a ship")
        << withShips({{9, 5}}) << true << 3 << 5 << 5 << true;
    QTest::newRow("vertical three crossing a ship")
        << withShips({{6, 5}}) << true << 3 << 5 << 5 << false;
    QTest::newRow("horizontal four whose far end touches at a corner")
        << withShips({{4, 9}}) << false << 4 << 5 << 5 << false;
    QTest::newRow("horizontal four a free cell before a ship")
        << withShips({{5, 10}}) << false << 4 << 5 << 5 << true;

    const QStringList away = withShips({{3, 3}});
    QTest::newRow("vertical four at the top left, a ship just past its box")
        << away << true << 4 << 1 << 1 << true;
    QTest::newRow("vertical four at the top left, a ship at its box's corner")
        << withShips({{5, 2}}) << true << 4 << 1 << 1 << false;
    QTest::newRow("vertical four at the top left, clear")
        << withShips({{6, 1}}) << true << 4 << 1 << 1 << true;
    QTest::newRow("horizontal three along the bottom edge")
        << withShips({{8, 5}}) << false << 3 << 10 << 4 << true;
    QTest::newRow("vertical three down the right edge")
        << withShips({{5, 8}}) << true << 3 << 4 << 10 << true;
}

void PlacementRuleTest::shipStandsOnlyInsideAndClearOfOtherShips()
{
    // A ship stands where it ends inside the field and no cell of its box widened by one
    // (inside the field) holds a ship. A preview turns off exactly its cells' frames after
    // clearing the old one; placing writes Ship, frame on and pieces 1..size from the top
    // or left end, with the orientation of the procedure, single cells included.
    QFETCH(QStringList, field);
    QFETCH(bool, vertical);
    QFETCH(int, size);
    QFETCH(int, r);
    QFETCH(int, c);
    QFETCH(bool, fits);

    Board board;
    loadGrid(board, Side::Player, field);
    leaveStalePreview(board);
    QList<int> shipCells;
    for (int k = 0; k < size; ++k)
        shipCells.append(
            Field::cellIndex(Side::Player, r + (vertical ? k : 0), c + (vertical ? 0 : k)));

    drawY(board, vertical, size, r, c, false);
    QCOMPARE(gridOf(board, Side::Player), field);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(board.hasFrame(i), !(fits && shipCells.contains(i)));

    drawY(board, vertical, size, r, c, true);
    QStringList expected = field;
    if (fits) {
        for (int cell : shipCells)
            expected[Field::rowOf(cell) - 1][Field::columnOf(cell) - 1] = u'S';
    }
    QCOMPARE(gridOf(board, Side::Player), expected);
    const bool wasShip = field[r - 1][c - 1] == u'S';
    QCOMPARE(board.state(Field::cellIndex(Side::Player, r, c)) == CellState::Ship, fits || wasShip);
    for (int i = 0; i < 100; ++i)
        QVERIFY(board.hasFrame(i));
    const int orientation = vertical ? Orientation::Vertical : Orientation::Horizontal;
    for (int k = 0; k < size && fits; ++k)
        QCOMPARE(board.picture(shipCells[k]), CellPicture::shipPiece(k + 1, size, orientation));
    for (int i = 0; i < 200; ++i) {
        if (!fits || !shipCells.contains(i))
            QCOMPARE(board.picture(i), CellPicture::none());
    }
}

void PlacementRuleTest::pointerOverComputerFieldOnlyClearsThePreview_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("c");
    for (bool vertical : {true, false}) {
        for (int size = 1; size <= 4; ++size) {
            const char *name = vertical ? "DrawYV" : "DrawYG";
            QTest::addRow("%s, size %d, row and column 11", name, size)
                << vertical << size << 11 << 11;
            QTest::addRow("%s, size %d, row 11", name, size) << vertical << size << 11 << 3;
            QTest::addRow("%s, size %d, column 11", name, size) << vertical << size << 3 << 11;
        }
    }
}

void PlacementRuleTest::pointerOverComputerFieldOnlyClearsThePreview()
{
    // Row or column 11 lies off the player's field: the old preview goes, and nothing is
    // previewed or placed on either field.
    QFETCH(bool, vertical);
    QFETCH(int, size);
    QFETCH(int, r);
    QFETCH(int, c);

    Board board;
    const QStringList field = withShips({{1, 1}});
    loadGrid(board, Side::Player, field);
    leaveStalePreview(board);
    drawY(board, vertical, size, r, c, true);

    QCOMPARE(gridOf(board, Side::Player), field);
    QCOMPARE(gridOf(board, Side::Comp), EmptyField);
    for (int i = 0; i < 200; ++i) {
        QVERIFY(board.hasFrame(i));
        QCOMPARE(board.picture(i), CellPicture::none());
    }
}

void PlacementRuleTest::clearingWithNothingToClearReportsNoChange()
{
    // Moving the pointer over a spot where nothing fits, with no preview shown, changes
    // nothing, so a view is told of nothing to repaint.
    Board board;
    CountingObserver observer;
    board.setObserver(&observer);
    DrawYV(board, 4, 9, 1, false);
    DrawYG(board, 2, 11, 11, false);
    QCOMPARE(observer.count, 0);
}

QTEST_APPLESS_MAIN(PlacementRuleTest)
#include "tst_placementrule.moc"
