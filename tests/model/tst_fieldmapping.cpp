#include "model/field.h"

#include <QTest>

class FieldMappingTest : public QObject
{
    Q_OBJECT

private slots:
    void cellIndexMapsBothWaysAtTheEdges_data();
    void cellIndexMapsBothWaysAtTheEdges();
};

void FieldMappingTest::cellIndexMapsBothWaysAtTheEdges_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Side>("side");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("first player cell") << 0 << Side::Player << 1 << 1;
    QTest::newRow("player row 1, column K") << 9 << Side::Player << 1 << 10;
    QTest::newRow("player row 2, column A") << 10 << Side::Player << 2 << 1;
    QTest::newRow("last player cell") << 99 << Side::Player << 10 << 10;
    QTest::newRow("first computer cell") << 100 << Side::Comp << 1 << 1;
    QTest::newRow("computer row 1, column K") << 109 << Side::Comp << 1 << 10;
    QTest::newRow("last computer cell") << 199 << Side::Comp << 10 << 10;
}

void FieldMappingTest::cellIndexMapsBothWaysAtTheEdges()
{
    // Cell k and (field, row, column) name the same square in both directions; arrPlayer
    // holds cells 0..99 and arrComp 100..199, row first.
    QFETCH(int, index);
    QFETCH(Side, side);
    QFETCH(int, row);
    QFETCH(int, column);

    QCOMPARE(Field::cellIndex(side, row, column), index);
    QCOMPARE(Field::sideOf(index), side);
    QCOMPARE(Field::rowOf(index), row);
    QCOMPARE(Field::columnOf(index), column);

    Board board;
    Field field(board, side);
    QCOMPARE(field.index(row, column), index);
    field.setState(row, column, CellState::Hit);
    QCOMPARE(board.state(index), CellState::Hit);
}

QTEST_APPLESS_MAIN(FieldMappingTest)
#include "tst_fieldmapping.moc"
