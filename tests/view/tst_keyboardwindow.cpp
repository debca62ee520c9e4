#include "battledriver.h"
#include "windowfixture.h"

#include "view/keys/announcement.h"
#include "view/keys/fieldcursor.h"
#include "view/windowlosswatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRegularExpression>

using namespace BattleDriver;

class KeyboardWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_fixture = std::make_unique<WindowFixture>();
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
    }
    void cleanup() { m_fixture.reset(); }

    void cursorStopsAtTheFieldsEdges_data();
    void cursorStopsAtTheFieldsEdges();
    void tabReachesWhatCanBeClickedInReadingOrder_data();
    void tabReachesWhatCanBeClickedInReadingOrder();
    void noControlHoldsTheFocusBeforeAKey();
    void theFocusMarkFollowsEveryPhaseChange_data();
    void theFocusMarkFollowsEveryPhaseChange();
    void arrowsAndEnterPlaceAsThePointerDoes();
    void enterFiresOnceAtTheCursorAndTheOutcomeIsTold();
    void oneQuestionToQuitIsOpenAtATime();

private:
    frmMain &w() { return m_fixture->w(); }
    // A key where the window sends it: to the control with the focus.
    void key(int code, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &w(), Qt::Key(code), modifiers);
    }
    // The cursor to a cell: into the top-left corner, which holds it, then along.
    void aim(int index)
    {
        for (int k = 0; k < 9; ++k) {
            key(Qt::Key_Up);
            key(Qt::Key_Left);
        }
        for (int k = 0; k < index % 10; ++k)
            key(Qt::Key_Right);
        for (int k = 0; k < index % 100 / 10; ++k)
            key(Qt::Key_Down);
        QCOMPARE(focusName(), QStringLiteral("pic(%1)").arg(index));
    }
    QString focusName() const
    {
        const QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }
    std::unique_ptr<WindowFixture> m_fixture;
};

// The cursor moves one cell per arrow and stays put at an edge; it never wraps.
void KeyboardWindowTest::cursorStopsAtTheFieldsEdges_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("cell");
    const int left = Qt::Key_Left, right = Qt::Key_Right, up = Qt::Key_Up, down = Qt::Key_Down;
    QTest::newRow("top-left corner holds") << 0 << QList<int> {left, up} << 0;
    QTest::newRow("one right, one down") << 0 << QList<int> {right, down} << 11;
    QTest::newRow("right edge holds") << 0 << QList<int>(12, right) << 9;
    QTest::newRow("bottom edge holds") << 100 << QList<int>(12, down) << 190;
    QTest::newRow("back from the corner")
        << 100 << QList<int>(10, right) + QList<int>(10, down) + QList<int> {left, up} << 188;
    QTest::newRow("other keys leave it") << 0 << QList<int> {int(Qt::Key_A), right} << 1;
}

void KeyboardWindowTest::cursorStopsAtTheFieldsEdges()
{
    QFETCH(int, first);
    QFETCH(QList<int>, keys);
    QFETCH(int, cell);
    FieldCursor cursor(first);
    for (int code : keys)
        QCOMPARE(cursor.move(code), code != Qt::Key_A);
    QCOMPARE(cursor.cell(), cell);
}

// Tab goes through the controls the phase lets the player click, as they are read on the
// screen (a field is one stop, its cursor cell), and comes round; Shift+Tab goes back.
// Every button shown is a stop, whatever its name.
void KeyboardWindowTest::tabReachesWhatCanBeClickedInReadingOrder_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QStringList>("order");
    const QStringList bottom {"chGrid", "chMusic", "chBack", "chPoints", "lblStat"};
    QTest::newRow("choosing the way") << "way" << QStringList {"lblSetAuto", "lblSetY"} + bottom;
    QTest::newRow("automatic layout") << "auto" << QStringList {"lblSetAuto", "lblAgree"} + bottom;
    QTest::newRow("by hand") << "hand"
                             << QStringList {"pic(0)", "rb(0)", "rb(1)", "rb(2)", "rb(3)", "rb(4)",
                                             "rb(8)",  "rb(5)", "rb(9)", "rb(6)", "rb(7)"}
            + bottom;
    QTest::newRow("levels") << "levels" << QStringList {"rbL(0)", "rbL(1)", "rbL(2)"} + bottom;
    QTest::newRow("battle") << "battle"
                            << QStringList {"pic(100)", "pic(0)"} + bottom
            + QStringList {"cmdNewGame"};
}

void KeyboardWindowTest::tabReachesWhatCanBeClickedInReadingOrder()
{
    QFETCH(QString, phase);
    QFETCH(QStringList, order);
    if (phase == "hand")
        click(find<TextButton>(w(), "lblSetY"));
    else if (phase != "way")
        click(find<TextButton>(w(), "lblSetAuto"));
    if (phase == "levels" || phase == "battle")
        click(find<TextButton>(w(), "lblAgree"));
    if (phase == "battle")
        click(find<QPushButton>(w(), "rbL(0)"));

    QStringList forward;
    for (int k = 0; k <= order.size(); ++k) {
        key(Qt::Key_Tab);
        forward << focusName();
    }
    QCOMPARE(forward, order + QStringList {order.first()});
    QStringList clickable;
    for (QWidget *child : w().findChildren<QWidget *>()) {
        const bool button
            = qobject_cast<QAbstractButton *>(child) || qobject_cast<TextButton *>(child);
        if (button && child->isVisible() && child->isEnabled())
            clickable << child->objectName();
    }
    QStringList controls = order.filter(QRegularExpression("^(?!pic\\()"));
    clickable.sort();
    controls.sort();
    QCOMPARE(controls, clickable);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusName(), order.last());
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusName(), order.at(order.size() - 2));
}

// A player with the mouse sees what was always seen: clicks give no control the focus
// and no focus mark shows; the first Tab brings the mark.
void KeyboardWindowTest::noControlHoldsTheFocusBeforeAKey()
{
    QWidget *mark = find<QWidget>(w(), "focusMark");
    click(find<TextButton>(w(), "lblSetY"));
    click(find<QRadioButton>(w(), "rb(3)"));
    click(find<QCheckBox>(w(), "chPoints"));
    QCOMPARE(QApplication::focusWidget(), &w());
    QVERIFY(mark->isHidden());
    key(Qt::Key_Tab);
    QVERIFY(mark->isVisible());
    QVERIFY(mark->geometry().contains(cell(w(), 0)->geometry()));
}

// After every change of the phase, by keys or by the mouse, with the keys held by a message
// box meanwhile or not, the focus is on a stop of the new phase (the one the keys chose if
// it is still there, else the phase's first) and the focus mark sits around it; on the
// player's field while placing, the preview shows at the cursor.
void KeyboardWindowTest::theFocusMarkFollowsEveryPhaseChange_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("focus");
    const QStringList battle {"Tab", "Return", "Tab", "Return", "Return"};
    const QStringList battleByMouse {"click lblSetAuto", "click lblAgree", "click rbL(0)"};
    QTest::newRow("by hand, by keys") << QStringList {"Tab", "Tab", "Return"} << "pic(0)";
    QTest::newRow("automatic layout, by keys") << QStringList {"Tab", "Return"} << "lblSetAuto";
    QTest::newRow("layout accepted, by keys")
        << QStringList {"Tab", "Return", "Tab", "Return"} << "rbL(0)";
    QTest::newRow("level chosen, by keys") << battle << "pic(100)";
    QTest::newRow("new game, by keys")
        << battle + QStringList {"Backtab", "yes", "Return"} << "lblSetAuto";
    QTest::newRow("by hand by the mouse, the focused control stays")
        << QStringList {"Backtab", "click lblSetY"} << "lblStat";
    QTest::newRow("by hand by the mouse, the focused control hidden")
        << QStringList {"Tab", "click lblSetY"} << "pic(0)";
    QTest::newRow("automatic layout by the mouse, the focused control hidden")
        << QStringList {"Tab", "Tab", "click lblSetAuto"} << "lblSetAuto";
    QTest::newRow("new game, by the mouse")
        << battleByMouse + QStringList {"Tab", "yes", "click cmdNewGame"} << "lblSetAuto";
}

void KeyboardWindowTest::theFocusMarkFollowsEveryPhaseChange()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, focus);
    // A real box takes the keys from the window while it is open, as the game's does.
    m_fixture->prompter.whileOpen = [](const QString &) {
        QWidget box;
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
    };
    const QMap<QString, int> keys {
        {"Tab", Qt::Key_Tab}, {"Backtab", Qt::Key_Backtab}, {"Return", Qt::Key_Return}};
    for (const QString &step : steps) {
        if (step == "yes")
            m_fixture->prompter.answers.push_back(true);
        else if (step.startsWith("click "))
            click(find(w(), step.mid(6)));
        else
            key(keys.value(step), step == "Backtab" ? Qt::ShiftModifier : Qt::NoModifier);
        if (!w().isActiveWindow()) {
            w().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w()));
        }
    }
    QTRY_COMPARE(focusName(), focus);
    const QWidget *control = QApplication::focusWidget();
    const QWidget *mark = find(w(), "focusMark");
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->geometry(),
             QRect(control->mapTo(&w(), QPoint()), control->size()).adjusted(-2, -2, 2, 2));
    if (focus == "pic(0)") {
        for (int index : {0, 10, 20, 30})
            QVERIFY(!w().game().board().hasFrame(index));
    }
}

// The preview follows the cursor as it follows the pointer, Ctrl held means horizontal,
// and Enter places where the cursor is even after the pointer cleared the preview.
void KeyboardWindowTest::arrowsAndEnterPlaceAsThePointerDoes()
{
    const Board &board = w().game().board();
    auto previewed = [&board] {
        QList<int> cells;
        for (int index = 0; index < 100; ++index)
            if (board.state(index) == CellState::Empty && !board.hasFrame(index))
                cells << index;
        return cells;
    };
    click(find<TextButton>(w(), "lblSetY"));
    key(Qt::Key_Tab);
    QCOMPARE(previewed(), (QList<int> {0, 10, 20, 30}));
    key(Qt::Key_Down);
    QCOMPARE(previewed(), (QList<int> {10, 20, 30, 40}));
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Control);
    key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(previewed(), (QList<int> {11, 12, 13, 14}));
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control);
    key(Qt::Key_Down);
    QCOMPARE(previewed(), (QList<int> {21, 31, 41, 51}));

    moveTo(w(), bareWindow());
    QVERIFY(previewed().isEmpty());
    key(Qt::Key_Return);
    for (int index : {21, 31, 41, 51})
        QCOMPARE(board.state(index), CellState::Ship);
    QCOMPARE(w().game().picker().selected(), 1);
    // Tab away leaves no preview behind.
    for (int k = 0; k < 3; ++k)
        key(Qt::Key_Right);
    QVERIFY(!previewed().isEmpty());
    key(Qt::Key_Tab);
    QVERIFY(previewed().isEmpty());
}

// Enter at the cursor is a shot as a click there; a held key fires once; a cell fired at
// before is refused with the same box; the cursor stays; either side's outcome is told.
void KeyboardWindowTest::enterFiresOnceAtTheCursorAndTheOutcomeIsTold()
{
    layOutAndChooseLevel(w(), 1);
    const Game &game = w().game();
    auto *news = find<Announcement>(w(), "announcement");
    const int target = compCells(w(), CellState::Ship).first();
    key(Qt::Key_Tab);
    aim(target);

    key(Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    QCOMPARE(game.score().userHits + game.score().userMisses, 1);
    QCOMPARE(game.board().state(target), CellState::Hit);
    const QString coordinate = cell(w(), target)->accessibleName().section(':', 0, 0);
    QVERIFY2(news->lastWords() == coordinate + ": попадание"
                 || news->lastWords() == coordinate + ": корабль потоплен",
             qPrintable(news->lastWords()));
    const QStringList &shown = m_fixture->prompter.shown;
    QCOMPARE(shown.count("|Уже попадали"), 0);
    key(Qt::Key_Space);
    QCOMPARE(shown.count("|Уже попадали"), 1);
    QCOMPARE(focusName(), QStringLiteral("pic(%1)").arg(target));

    // A miss passes the turn, told with it; the computer's reply is told as well.
    int water = target;
    while (game.board().state(water) != CellState::Empty)
        water = water < 199 ? water + 1 : 100;
    aim(water);
    key(Qt::Key_Return);
    QCOMPARE(news->lastWords(), cell(w(), water)->accessibleName() + ". Ход компьютера");
    w().tmrI_Timer();
    QVERIFY2(news->lastWords().startsWith("Выстрел противника, "), qPrintable(news->lastWords()));
}

// However often the window is asked to close or is lost while the question to quit is
// open, that one question is all that opens; once it is answered, the next request asks.
void KeyboardWindowTest::oneQuestionToQuitIsOpenAtATime()
{
    auto *watch = w().findChild<WindowLossWatch *>();
    QVERIFY(watch);
    const QStringList &shown = m_fixture->prompter.shown;
    const QString question = "Выход|   Вы действительно хотите Выйти ?";
    int opened = 0;
    m_fixture->prompter.whileOpen = [&](const QString &) {
        if (++opened > 1)
            return; // a second question: already a failure, not to be nested further
        for (int k = 0; k < 3; ++k) {
            emit watch->windowDestroyed();
            w().close();
        }
    };
    emit watch->windowDestroyed();
    QCOMPARE(shown.count(question), 1);
    QVERIFY(w().isVisible());

    m_fixture->prompter.whileOpen = nullptr;
    w().close();
    QCOMPARE(shown.count(question), 2);
    QVERIFY(w().isVisible());
}

QTEST_MAIN(KeyboardWindowTest)
#include "tst_keyboardwindow.moc"
