#include "windowdriver.h"
#include "windowfixture.h"

#include "view/controls/scorepanel.h"
#include "view/controls/textbutton.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace WindowDriver;

class PlacementWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void automaticLayoutRollsAgainUntilAccepted();
    void previewFollowsThePointer_data();
    void previewFollowsThePointer();
    void ctrlTurnsTheNextPreview();
    void onlyALeftClickOnAPreviewPlaces();
    void tenShipsByHandLeadToTheLevels();
    void hoverFramesAndPreviewClearOverTheBareWindow();
    void missingShipBitmapKeepsThePreviousPiece();

private:
    frmMain &w() { return m_fixture->w(); }
    std::unique_ptr<WindowFixture> m_fixture;
};

// "Расставить автоматически" lays a drawn fleet and becomes "Поменять расстановку";
// each further click gives a fresh layout; "Принять расстановку" leads to the levels.
void PlacementWindowTest::automaticLayoutRollsAgainUntilAccepted()
{
    click(find<TextButton>(w(), "lblSetAuto"));
    QCOMPARE(find<TextButton>(w(), "lblSetAuto")->text(), QStringLiteral("Поменять расстановку"));
    QVERIFY(!find<TextButton>(w(), "lblAgree")->isHidden()
            && find<TextButton>(w(), "lblSetY")->isHidden());
    QStringList layouts;
    for (int roll = 0; roll < 3; ++roll) {
        QString layout;
        int drawn = 0;
        for (int i = 0; i < 100; ++i) {
            const bool ship = w().game().board().state(i) == CellState::Ship;
            layout += ship ? 'S' : '.';
            drawn += ship && !cell(w(), i)->picture().isNull();
        }
        QCOMPARE(layout.count('S'), 20);
        QCOMPARE(drawn, 20);
        layouts << layout;
        click(find<TextButton>(w(), "lblSetAuto"));
    }
    QCOMPARE(layouts.removeDuplicates(), 0);
    QCOMPARE(find<TextButton>(w(), "lblSetAuto")->text(), QStringLiteral("Поменять расстановку"));
    click(find<TextButton>(w(), "lblAgree"));
    for (QPushButton *level : array<QPushButton>(w(), "rbL", 3))
        QVERIFY(!level->isHidden());
    QVERIFY(find<TextButton>(w(), "lblSetAuto")->isHidden()
            && find<TextButton>(w(), "lblAgree")->isHidden());
    QCOMPARE(find<QLabel>(w(), "lblU")->text(), QStringLiteral("0"));
}

// A four-cell ship fits downwards from row 7 but not row 8, rightwards from column 7 but
// not 8; over the computer's field no preview shows. Frames off mark the preview.
void PlacementWindowTest::previewFollowsThePointer_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("fits");
    QTest::newRow("down from row 7") << 7 << 1 << false << true;
    QTest::newRow("down from row 8") << 8 << 1 << false << false;
    QTest::newRow("right from column 7") << 1 << 7 << true << true;
    QTest::newRow("right from column 8") << 1 << 8 << true << false;
    QTest::newRow("computer's field") << 11 << 11 << false << false;
}

void PlacementWindowTest::previewFollowsThePointer()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, ctrl);
    QFETCH(bool, fits);
    click(find<TextButton>(w(), "lblSetY"));
    QVERIFY(!find<QRadioButton>(w(), QStringLiteral("rb(%1)").arg(0))->isHidden()
            && !find<QLabel>(w(), "lblHelp")->isHidden());
    moveToCell(w(), playerCell(5, 5)); // an earlier preview, to be cleared
    if (ctrl)
        QTest::keyPress(&w(), Qt::Key_Control);
    const int index = row == 11 ? compCell(1, 1) : playerCell(row, column);
    moveToCell(w(), index);
    int framesOff = 0;
    for (int i = 0; i < 100; ++i)
        framesOff += !cell(w(), i)->hasFrame();
    QCOMPARE(framesOff, fits ? 4 : 0);
    if (fits)
        QVERIFY(!cell(w(), index)->hasFrame());
}

// Pressing Ctrl without moving leaves the vertical preview; the next move shows the
// horizontal one. Ctrl is seen whichever control holds the focus.
void PlacementWindowTest::ctrlTurnsTheNextPreview()
{
    click(find<TextButton>(w(), "lblSetY"));
    moveToCell(w(), playerCell(3, 3));
    QVERIFY(!cell(w(), playerCell(6, 3))->hasFrame());
    find<QCheckBox>(w(), "chGrid")->setFocus();
    QTest::keyPress(find<QCheckBox>(w(), "chGrid"), Qt::Key_Control);
    QVERIFY(w().game().isCtrlHeld());
    QVERIFY(!cell(w(), playerCell(6, 3))->hasFrame());
    moveTo(w(), centreOf(cell(w(), playerCell(3, 3))) + QPoint(3, 3)); // the same cell
    QVERIFY(cell(w(), playerCell(6, 3))->hasFrame());
    QVERIFY(!cell(w(), playerCell(3, 6))->hasFrame());
    QTest::keyRelease(&w(), Qt::Key_Control);
    QVERIFY(!w().game().isCtrlHeld());
}

// Only a left click on a previewed cell puts the ship down, with its pieces from the top;
// a right click, a click beside the preview or on the computer's field does nothing.
void PlacementWindowTest::onlyALeftClickOnAPreviewPlaces()
{
    click(find<TextButton>(w(), "lblSetY"));
    moveToCell(w(), playerCell(2, 2));
    pressCell(w(), playerCell(2, 2), Qt::RightButton);
    pressCell(w(), playerCell(9, 9));
    moveToCell(w(), compCell(2, 2));
    pressCell(w(), compCell(2, 2));
    QCOMPARE(w().game().playerField().count(CellState::Ship), 0);

    moveToCell(w(), playerCell(2, 2));
    pressCell(w(), playerCell(2, 2));
    QCOMPARE(w().game().playerField().count(CellState::Ship), 4);
    for (int piece = 1; piece <= 4; ++piece) {
        const int index = playerCell(1 + piece, 2);
        QCOMPARE(w().game().board().picture(index), CellPicture::shipPiece(piece, 4, 2));
        QVERIFY(!cell(w(), index)->picture().isNull());
        QVERIFY(cell(w(), index)->hasFrame());
    }
    QVERIFY(!find<QRadioButton>(w(), QStringLiteral("rb(%1)").arg(0))->isEnabled());
    QVERIFY(find<QRadioButton>(w(), QStringLiteral("rb(%1)").arg(1))->isChecked());
    // Diagonal contact is refused; one free cell apart is accepted.
    moveToCell(w(), playerCell(6, 3));
    QVERIFY(cell(w(), playerCell(6, 3))->hasFrame());
    moveToCell(w(), playerCell(7, 2));
    QVERIFY(!cell(w(), playerCell(7, 2))->hasFrame());
}

// Ten ships put down lead straight to the level buttons; "Принять расстановку" never shows.
void PlacementWindowTest::tenShipsByHandLeadToTheLevels()
{
    click(find<TextButton>(w(), "lblSetY"));
    click(find<QRadioButton>(
        w(), QStringLiteral("rb(%1)").arg(9))); // the player may choose any ship first
    const int tops[10][2]
        = {{1, 1}, {1, 3}, {1, 5}, {1, 7}, {1, 9}, {6, 1}, {6, 3}, {6, 5}, {6, 7}, {6, 9}};
    for (const auto &top : tops) {
        const int index = playerCell(top[0], top[1]);
        moveToCell(w(), index);
        pressCell(w(), index);
        QVERIFY(find<TextButton>(w(), "lblAgree")->isHidden());
    }
    QCOMPARE(w().game().playerField().count(CellState::Ship), 20);
    for (QPushButton *level : array<QPushButton>(w(), "rbL", 3))
        QVERIFY(!level->isHidden());
    for (QRadioButton *member : array<QRadioButton>(w(), "rb", 10))
        QVERIFY(member->isHidden());
    QVERIFY(find<QLabel>(w(), "lblHelp")->isHidden());
}

// The placement buttons get a frame while the pointer is over them; the bare window takes
// the frames and the preview away, another control does not take the preview.
void PlacementWindowTest::hoverFramesAndPreviewClearOverTheBareWindow()
{
    moveTo(w(), centreOf(find<TextButton>(w(), "lblSetAuto")));
    QCOMPARE(find<TextButton>(w(), "lblSetAuto")->frameShape(), QFrame::Box);
    moveTo(w(), bareWindow());
    QCOMPARE(find<TextButton>(w(), "lblSetAuto")->frameShape(), QFrame::NoFrame);
    moveTo(w(), centreOf(find<TextButton>(w(), "lblSetY")));
    QCOMPARE(find<TextButton>(w(), "lblSetY")->frameShape(), QFrame::Box);
    click(find<TextButton>(w(), "lblSetY"));

    moveToCell(w(), playerCell(1, 1));
    QVERIFY(!cell(w(), playerCell(1, 1))->hasFrame());
    moveTo(w(),
           centreOf(find<QLabel>(
               w(), QStringLiteral("Label1(%1)").arg(0)))); // straight onto a coordinate label
    QVERIFY(!cell(w(), playerCell(1, 1))->hasFrame());
    moveTo(w(), bareWindow());
    QVERIFY(cell(w(), playerCell(1, 1))->hasFrame());
}

// A ship bitmap that cannot be read still places the ship; its cells take the piece
// the staging holder kept from before.
void PlacementWindowTest::missingShipBitmapKeepsThePreviousPiece()
{
    click(find<TextButton>(w(), "lblSetY"));
    moveToCell(w(), playerCell(1, 1));
    pressCell(w(), playerCell(1, 1));
    const QImage lastPiece = find<QLabel>(w(), "Picture1")->pixmap().toImage();
    QVERIFY(!lastPiece.isNull());
    QFile::remove(m_fixture->folder.filePath("Ship32.bmp"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Ship32\\.bmp"));
    moveToCell(w(), playerCell(1, 3));
    pressCell(w(), playerCell(1, 3));
    QCOMPARE(w().game().playerField().count(CellState::Ship), 7);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(cell(w(), playerCell(row, 3))->picture().toImage(), lastPiece);
}

QTEST_MAIN(PlacementWindowTest)
#include "tst_placementwindow.moc"
