#include "battledriver.h"
#include "windowfixture.h"

#include "coretestsupport.h"
#include "view/effects/boombox.h"
#include "view/effects/explosion.h"
#include "view/fields/storedpicture.h"
#include "view/prompter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using namespace WindowDriver;
using namespace BattleDriver;

class EffectsWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void soundCommandsFollowTheGame_data();
    void soundCommandsFollowTheGame();
    void hitSoundStopsOnTheNinthTick();
    void explosionUsesTheNextBoxOverTheCell();
    void explosionDotsStayInsideTheirRings();
    void framePacingShowsTheSameDotsInFewerRepaints();
    void aimCursorOnlyOverTheComputersFieldInBattle();
    void cellLooksFollowTheirStates();
    void switchesShowAndHideLabelsAndFrames();
    void missingMediaNeverStopsTheGame();
    void realMessageBoxLetsTheTimersTick();

private:
    frmMain &w() { return m_fixture->w(); }
    QStringList soundSince(int from) { return m_fixture->sound.calls.mid(from); }
    std::unique_ptr<WindowFixture> m_fixture;
};

// Each event sends the sound commands the game gives it, and no others.
void EffectsWindowTest::soundCommandsFollowTheGame_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("music off") << "music off" << QStringList {"tune Stop"};
    QTest::newRow("music on again") << "music on" << QStringList {"tune Stop", "tune Play"};
    QTest::newRow("repeat") << "repeat" << QStringList {"tune Close", "tune Open", "tune Play"};
    QTest::newRow("hit") << "hit" << QStringList {"stop hit", "hit Boom.wav"};
    QTest::newRow("miss") << "miss" << QStringList {"stop hit"};
    QTest::newRow("computer's tick") << "tick" << QStringList {"stop hit"};
    QTest::newRow("press in the computer's turn") << "late press" << QStringList {};
}

void EffectsWindowTest::soundCommandsFollowTheGame()
{
    QFETCH(QString, event);
    QFETCH(QStringList, calls);
    QCOMPARE(m_fixture->sound.calls.mid(0, 4),
             (QStringList {"tune file seasound.mid", "tune Open", "tune Play"}));
    QVERIFY(timer(w(), "tmrMuz")->isActive());
    layOutAndChooseLevel(w(), 1);
    int from = m_fixture->sound.calls.size();
    if (event == "music off" || event == "music on") {
        click(find<QCheckBox>(w(), "chMusic"));
        QVERIFY(!timer(w(), "tmrMuz")->isActive());
        if (event == "music on")
            click(find<QCheckBox>(w(), "chMusic"));
    } else if (event == "repeat") {
        effects(w()).tmrMuz_Timer();
    } else if (event == "hit") {
        pressCell(w(), compCells(w(), CellState::Ship).first());
    } else if (event == "miss") {
        pressCell(w(), compCells(w(), CellState::Empty).first());
    } else {
        pressCell(w(), compCells(w(), CellState::Empty).first());
        from = m_fixture->sound.calls.size();
        if (event == "tick") {
            // Leave one water cell, so the move is a miss with no sound of its own.
            for (int i = 1; i < 100; ++i)
                w().game().board().setState(i, CellState::Miss);
            w().game().board().setState(0, CellState::Empty);
            w().tmrI_Timer();
        } else {
            pressCell(w(), compCells(w(), CellState::Empty).first());
        }
    }
    QCOMPARE(soundSince(from), calls);
    QCOMPARE(timer(w(), "tmrMuz")->isActive(), event != "music off");
}

// The hit sound is stopped by the ninth tick of tmrBoom, not the eighth, which also
// stops the timer.
void EffectsWindowTest::hitSoundStopsOnTheNinthTick()
{
    layOutAndChooseLevel(w(), 1);
    pressCell(w(), compCells(w(), CellState::Ship).first());
    QVERIFY(timer(w(), "tmrBoom")->isActive());
    const int from = m_fixture->sound.calls.size();
    for (int tick = 1; tick <= 8; ++tick)
        effects(w()).tmrBoom_Timer();
    QVERIFY(soundSince(from).isEmpty());
    QVERIFY(timer(w(), "tmrBoom")->isActive());
    effects(w()).tmrBoom_Timer();
    QCOMPARE(soundSince(from), QStringList {"stop hit"});
    QVERIFY(!timer(w(), "tmrBoom")->isActive());
}

// Each hit takes the next box, laid exactly over the hit cell and shown, with 4,200
// dots and points each shown at once; both fields share the numbering. The box ends
// with the hit picture.
void EffectsWindowTest::explosionUsesTheNextBoxOverTheCell()
{
    layOutAndChooseLevel(w(), 1);
    const int first = compCells(w(), CellState::Ship).first();
    pressCell(w(), first);
    BoomBox *box = find<BoomBox>(w(), QStringLiteral("picBoom(%1)").arg(0));
    QCOMPARE(markersShown(w()), 1);
    QCOMPARE(box->geometry(), cell(w(), first)->geometry());
    QVERIFY(!box->isHidden());
    QCOMPARE(box->refreshCount(), 1 + 4200);
    const QImage hitPicture(m_fixture->folder.filePath("picBoom.bmp"));
    QCOMPARE(box->picture(), hitPicture);

    hitMarkers(w()).DrawBoom(5); // the next hit, on the player's field
    QCOMPARE(find<BoomBox>(w(), QStringLiteral("picBoom(%1)").arg(1))->geometry(),
             cell(w(), 5)->geometry());
    QCOMPARE(markersShown(w()), 2);
    QVERIFY(find<BoomBox>(w(), QStringLiteral("picBoom(%1)").arg(2))->isHidden());
}

// Red dots lie within 70 or 140 units of the centre (about 4.7 and 9.3 pixels), grey
// ones within 210 (14 pixels). The dissolve is sent to one corner here so the dots stay.
void EffectsWindowTest::explosionDotsStayInsideTheirRings()
{
    QList<double> draws;
    ClockSeededRandom dots([] { return 99; });
    for (int i = 0; i < 2 * 1200; ++i)
        draws << dots.next();
    for (int i = 0; i < 2 * 3000; ++i)
        draws << 0.0;
    ScriptedRandom random(draws);
    QWidget parent;
    BoomBox box(0, &parent);
    box.resize(33, 33);
    box.setBackColor(QColor(69, 87, 129));
    drawExplosion(box, random);
    QCOMPARE(random.consumed(), 2 * 1200 + 2 * 3000);
    QCOMPARE(box.refreshCount(), 4200);
    const QImage canvas = box.canvas();
    const qreal ratio = canvas.devicePixelRatio();
    int red = 0;
    int grey = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QColor colour = canvas.pixelColor(x, y);
            const double distance
                = std::hypot(x + 0.5 - 16.5 * ratio, y + 0.5 - 16.5 * ratio) / ratio;
            if (colour == QColor(255, 0, 0)) {
                ++red;
                QVERIFY(distance < 140 / 15.0 + 1.5);
            } else if (colour == QColor(192, 192, 192)) {
                ++grey;
                QVERIFY(distance < 210 / 15.0 + 1.5);
            }
        }
    }
    QVERIFY(red > 20);
    QVERIFY(grey > 100);
    QCOMPARE(canvas.pixelColor(0, 0), QColor(69, 87, 129));
}

// Where each repaint waits for the compositor the dots are shown a frame at a time: the
// same dots in the same order, far fewer repaints, the last one after the last point.
void EffectsWindowTest::framePacingShowsTheSameDotsInFewerRepaints()
{
    QWidget parent;
    BoomBox everyStep(0, &parent);
    BoomBox frames(1, &parent);
    for (BoomBox *box : {&everyStep, &frames}) {
        box->resize(33, 33);
        box->setBackColor(QColor(69, 87, 129));
    }
    ClockSeededRandom first([] { return 5; });
    ClockSeededRandom second([] { return 5; });
    drawExplosion(everyStep, first, ExplosionPacing::EveryStep);
    drawExplosion(frames, second, ExplosionPacing::Frames);
    QCOMPARE(frames.canvas(), everyStep.canvas());
    QVERIFY(frames.refreshCount() >= 10);
    QVERIFY(frames.refreshCount() <= 100);
    QCOMPARE(everyStep.refreshCount(), 4200);
}

// The aim cursor shows only over the computer's field while the battle is on, with its
// hotspot from the file; the left field keeps it, the bare window takes it away.
void EffectsWindowTest::aimCursorOnlyOverTheComputersFieldInBattle()
{
    moveToCell(w(), compCell(3, 3));
    QCOMPARE(w().cursor().shape(), Qt::ArrowCursor);
    layOutAndChooseLevel(w(), 1);
    moveToCell(w(), compCell(4, 4));
    QCOMPARE(w().cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(w().cursor().hotSpot(), QPoint(16, 16));
    moveToCell(w(), playerCell(4, 4));
    QCOMPARE(w().cursor().shape(), Qt::BitmapCursor);
    moveTo(w(), bareWindow());
    QCOMPARE(w().cursor().shape(), Qt::ArrowCursor);
}

// A miss shows the miss mark with the frame on, on either field; the player's hit on the
// computer's field turns the frame off; the computer's ships are never drawn.
void EffectsWindowTest::cellLooksFollowTheirStates()
{
    layOutAndChooseLevel(w(), 1);
    for (int index : compCells(w(), CellState::Ship))
        QVERIFY(cell(w(), index)->picture().isNull());
    const int hit = compCells(w(), CellState::Ship).first();
    pressCell(w(), hit);
    QVERIFY(!cell(w(), hit)->hasFrame());
    const int miss = compCells(w(), CellState::Empty).first();
    pressCell(w(), miss);
    const QImage missMark(m_fixture->folder.filePath("XField.bmp"));
    QCOMPARE(cell(w(), miss)->picture().toImage(),
             missMark.convertToFormat(cell(w(), miss)->picture().toImage().format()));
    QVERIFY(cell(w(), miss)->hasFrame());
    for (int i = 1; i < 100; ++i)
        if (w().game().board().state(i) == CellState::Empty)
            w().game().board().setState(i, CellState::Miss);
    w().game().board().setState(0, CellState::Empty);
    w().tmrI_Timer();
    QVERIFY(!cell(w(), 0)->picture().isNull());
    QVERIFY(cell(w(), 0)->hasFrame());
}

// "Разметка сетки" hides and shows all 40 coordinate labels at once, "Объемный вид" both
// field frames; the cells stay as they are.
void EffectsWindowTest::switchesShowAndHideLabelsAndFrames()
{
    click(find<QCheckBox>(w(), "chGrid"));
    for (QLabel *label : array<QLabel>(w(), "Label1", 40))
        QVERIFY(label->isHidden());
    click(find<QCheckBox>(w(), "chBack"));
    QVERIFY(find(w(), "imgBack1")->isHidden() && find(w(), "imgBack2")->isHidden());
    for (CellView *cell : array<CellView>(w(), "pic", 200))
        QVERIFY(!cell->isHidden() && cell->hasFrame());
    click(find<QCheckBox>(w(), "chGrid"));
    click(find<QCheckBox>(w(), "chBack"));
    for (QLabel *label : array<QLabel>(w(), "Label1", 40))
        QVERIFY(!label->isHidden());
    QVERIFY(!find(w(), "imgBack1")->isHidden() && !find(w(), "imgBack2")->isHidden());
}

// With every media file missing the game still lays out, fires, explodes and ends.
void EffectsWindowTest::missingMediaNeverStopsTheGame()
{
    m_fixture.reset();
    m_fixture = std::make_unique<WindowFixture>(WindowFixture::Media::Missing);
    layOutAndChooseLevel(w(), 2);
    moveToCell(w(), compCell(1, 1));
    for (int index : compCells(w(), CellState::Ship))
        pressCell(w(), index);
    QCOMPARE(m_fixture->prompter.shown.last(), QStringLiteral("|Вы выиграли"));
    QCOMPARE(storedRows(m_fixture->folder.filePath("Base.mdb")).size(), 1);
}

// A real modal box runs an event loop of its own: the timers tick while it is open (tmrBoom's
// ninth tick cuts the last hit's sound off), while tmrI, stopped before the box opened, starts
// no move after the computer's twentieth hit; the row is written once.
void EffectsWindowTest::realMessageBoxLetsTheTimersTick()
{
    MessageBoxPrompter realBoxes;
    m_fixture->prompter.answers.clear();
    frmMain window(m_fixture->sound, m_fixture->random, realBoxes);
    QTimer::singleShot(0, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    window.Form_Load();
    window.show();
    layOutAndChooseLevel(window, 1);
    pressCell(window, compCells(window, CellState::Empty).first());
    Board &board = window.game().board();
    int lastShip = -1;
    for (int i = 0; i < 100; ++i) {
        if (board.state(i) == CellState::Ship && lastShip < 0)
            lastShip = i;
        else if (board.state(i) == CellState::Ship)
            board.setState(i, CellState::Hit);
        else
            board.setState(i, CellState::Miss);
    }
    int boxes = 0;
    bool cutOffRunningAtOpen = false;
    bool cutOffTickedWhileOpen = false;
    bool movesTimedWhileOpen = true;
    int boomsWhileOpen = -1;
    qsizetype hitStopsWhileOpen = -1;
    std::function<void()> closeWhenSeen = [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box) {
            QTimer::singleShot(50, closeWhenSeen);
            return;
        }
        ++boxes;
        const int booms = markersShown(window);
        const qsizetype hitStops = m_fixture->sound.calls.count("stop hit");
        cutOffRunningAtOpen = timer(window, "tmrBoom")->isActive();
        cutOffTickedWhileOpen
            = QTest::qWaitFor([&] { return !timer(window, "tmrBoom")->isActive(); }, 10000);
        movesTimedWhileOpen = timer(window, "tmrI")->isActive();
        boomsWhileOpen = markersShown(window) - booms;
        hitStopsWhileOpen = m_fixture->sound.calls.count("stop hit") - hitStops;
        QTest::keyClick(box, Qt::Key_Return);
    };
    QTimer::singleShot(50, closeWhenSeen);
    QVERIFY(timer(window, "tmrI")->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(boomsWhileOpen >= 0, 20000);
    QCOMPARE(boxes, 1);
    QVERIFY(cutOffRunningAtOpen);
    QVERIFY(cutOffTickedWhileOpen);
    QVERIFY(!movesTimedWhileOpen);
    QCOMPARE(boomsWhileOpen, 0);
    QCOMPARE(board.state(lastShip), CellState::Hit);
    QCOMPARE(hitStopsWhileOpen, 1);
    QCOMPARE(storedRows(m_fixture->folder.filePath("Base.mdb")).size(), 1);
}

QTEST_MAIN(EffectsWindowTest)
#include "tst_effectswindow.moc"
