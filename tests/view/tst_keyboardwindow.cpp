#include "battledriver.h"
#include "windowfixture.h"

#include "view/keys/fieldcursor.h"
#include "view/spoken/announcement.h"
#include "view/spoken/cellnames.h"
#include "view/spoken/spokenwords.h"
#include "view/windowlosswatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRegularExpression>

using namespace BattleDriver;

// Every piece of news as a screen reader is given it: a voice's name each time it shows.
class NewsHeard : public QObject
{
public:
    explicit NewsHeard(QWidget &window)
    {
        for (Announcement *voice : window.findChildren<Announcement *>())
            voice->installEventFilter(this);
    }
    QStringList take() { return std::exchange(m_said, {}); }
    QString last() const { return m_said.value(m_said.size() - 1); }

protected:
    bool eventFilter(QObject *voice, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_said << static_cast<QWidget *>(voice)->accessibleName();
        return false;
    }

private:
    QStringList m_said;
};

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
    void theBattleIsToldShortAndCanBeHeardAgain();
    void placementIsToldByEar();
    void keysThatCannotActSayWhy();
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
    QTest::newRow("automatic layout")
        << "auto" << QStringList {"lblSetAuto", "lblAgree"} + bottom + QStringList {"pic(0)"};
    QTest::newRow("by hand") << "hand"
                             << QStringList {"pic(0)", "rb(0)", "rb(1)", "rb(2)", "rb(3)", "rb(4)",
                                             "rb(8)",  "rb(5)", "rb(9)", "rb(6)", "rb(7)"}
            + bottom;
    QTest::newRow("levels") << "levels"
                            << QStringList {"rbL(0)", "rbL(1)", "rbL(2)"} + bottom
            + QStringList {"pic(0)"};
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
    const QString coordinate = cell(w(), target)->accessibleName().section(' ', 0, 1);
    QVERIFY2(news->lastWords() == coordinate + " ранил"
                 || news->lastWords().startsWith(coordinate + " убил "),
             qPrintable(news->lastWords()));
    const QStringList &shown = m_fixture->prompter.shown;
    QCOMPARE(shown.count("|Уже попадали"), 0);
    key(Qt::Key_Space);
    QCOMPARE(shown.count("|Уже попадали"), 1);
    QCOMPARE(focusName(), QStringLiteral("pic(%1)").arg(target));

    // A miss passes the turn; the computer's reply is told as its.
    int water = target;
    while (game.board().state(water) != CellState::Empty)
        water = water < 199 ? water + 1 : 100;
    aim(water);
    key(Qt::Key_Return);
    QCOMPARE(news->lastWords(), cell(w(), water)->accessibleName().section(' ', 0, 1) + " мимо");
    w().tmrI_Timer();
    QVERIFY2(
        news->lastWords().contains(QRegularExpression("^\\S+ \\d+ (ранен|убит|мимо, ваш ход)")),
        qPrintable(news->lastWords()));
}

// Each shot is told in a few words, coordinate first; the computer's turn as its shots come,
// the first named as the computer's, the last with the turn coming back. R tells the whole
// turn again, S the state; a sunk ship is named by its size, and its cells and the water
// around it say so.
void KeyboardWindowTest::theBattleIsToldShortAndCanBeHeardAgain()
{
    NewsHeard heard(w());
    layOutAndChooseLevel(w(), 1);
    QCOMPARE(heard.take(), QStringList {"Ваш ход. R повтор, S счёт"});
    const Board &board = w().game().board();
    const QList<int> ships = compCells(w(), CellState::Ship);
    const auto single = std::find_if(ships.begin(), ships.end(), [&board](int index) {
        return CellNames::shipAt(board, index).size() == 1;
    });
    const auto longer = std::find_if(ships.begin(), ships.end(), [&board](int index) {
        return CellNames::shipAt(board, index).size() > 1;
    });
    key(Qt::Key_Tab);
    QCOMPARE(heard.take(), QStringList {"поле противника"});
    aim(*single);
    QCOMPARE(heard.take(), QStringList()); // the cells are named, the field only as it is entered
    key(Qt::Key_Return);
    const QString sunk = cell(w(), *single)->accessibleName().section(' ', 0, 1);
    QCOMPARE(heard.take(), QStringList {sunk + " убил однопалубный"});
    // The focused cell is named anew once the focus leaves it, the news having said it.
    QCOMPARE(cell(w(), *single)->accessibleName(), sunk + " не обстреляна");
    int ringCells = 0;
    for (int index = 100; index < 200; ++index)
        ringCells += cell(w(), index)->accessibleName().endsWith(" пусто, рядом убитый");
    QVERIFY(ringCells >= 3);
    aim(*longer);
    QCOMPARE(cell(w(), *single)->accessibleName(), sunk + " убит");
    key(Qt::Key_Return);
    const QString hit = cell(w(), *longer)->accessibleName().section(' ', 0, 1);
    QCOMPARE(heard.take(), QStringList {hit + " ранил"});

    int water = 100;
    while (board.state(water) != CellState::Empty)
        ++water;
    aim(water);
    QVERIFY(cell(w(), *longer)->accessibleName().endsWith(" ранен"));
    key(Qt::Key_Return);
    tickComputer(w());
    const QStringList told = heard.take();
    QVERIFY2(told.size() >= 2, qPrintable(told.join(" | ")));
    QCOMPARE(told.first().section(' ', 2), QStringLiteral("мимо"));
    QStringList shots = told.mid(1);
    QVERIFY2(shots.last().endsWith(" мимо, ваш ход"), qPrintable(shots.last()));
    for (const QString &news : told)
        QVERIFY2(news.split(' ').size() <= 5, qPrintable(news));
    shots.last().chop(QStringLiteral(", ваш ход").size());

    key(Qt::Key_R);
    QCOMPARE(heard.take(),
             QStringList {"Ваши выстрелы " + sunk + " убил однопалубный, " + hit + " ранил, "
                          + told.first() + ". Компьютер " + shots.join(", ") + ". Ваш ход"});
    key(Qt::Key_S);
    const Score &score = w().game().score();
    QCOMPARE(heard.take(),
             QStringList {QStringLiteral("Ваш ход. Попадания, ваши 2, компьютера %1. "
                                         "У противника 1 четырёхпалубный, 2 "
                                         "трёхпалубных, 3 двухпалубных, 3 "
                                         "однопалубных. У вас %2")
                              .arg(score.compHits)
                              .arg(SpokenWords::ships(score.playerAfloat))});
}

// Placing by keys, by ear: the field and the ship as the keys come to it, the cells the ship
// would take, why it cannot stand where it cannot, each ship placed with its cells and the
// next, and the direction Ctrl gives.
void KeyboardWindowTest::placementIsToldByEar()
{
    NewsHeard heard(w());
    click(find<TextButton>(w(), "lblSetY"));
    key(Qt::Key_Tab);
    QCOMPARE(heard.take(), (QStringList {"ваше поле", "четырёхпалубный вертикально", "до А 4"}));
    for (int k = 0; k < 7; ++k)
        key(Qt::Key_Down);
    QCOMPARE(heard.last(), QStringLiteral("Нельзя, не помещается"));
    key(Qt::Key_Return);
    QCOMPARE(heard.take().last(), QStringLiteral("Нельзя, не помещается"));
    QCOMPARE(w().game().picker().selected(), 0);
    for (int k = 0; k < 7; ++k)
        key(Qt::Key_Up);
    key(Qt::Key_Right);
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Control);
    QTRY_COMPARE(heard.last(), QStringLiteral("четырёхпалубный горизонтально"));
    key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(heard.last(), QStringLiteral("до Е 1"));
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control);
    QTRY_COMPARE(heard.last(), QStringLiteral("четырёхпалубный вертикально"));
    key(Qt::Key_Left);
    heard.take();
    key(Qt::Key_Return);
    QCOMPARE(heard.take(),
             QStringList {"Поставлен четырёхпалубный бэ 1, бэ 4. трёхпалубный вертикально"});
    key(Qt::Key_Left);
    QCOMPARE(heard.take(), QStringList {"Нельзя, рядом корабль"}); // once for one key
    key(Qt::Key_Return);
    QCOMPARE(heard.take(), QStringList {"Нельзя, рядом корабль"});
}

// A key the game has no use for, or Enter where it can do nothing, says why; the keys that
// change other keys, and the screen reader's own, say nothing.
void KeyboardWindowTest::keysThatCannotActSayWhy()
{
    NewsHeard heard(w());
    const QString unused = "Не используется. Tab, стрелки, Enter, R повтор, S счёт";
    key(Qt::Key_X); // the window holds the focus
    key(Qt::Key_Tab);
    key(Qt::Key_Left); // a button leaves it
    for (int modifier : {Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Insert, Qt::Key_CapsLock})
        key(modifier);
    QCOMPARE(heard.take().filter("Не используется"), QStringList(2, unused));

    click(find<TextButton>(w(), "lblSetAuto"));
    click(find<TextButton>(w(), "lblSetAuto"));
    QCOMPARE(heard.take(), QStringList {"Расставлено заново"});
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusName(), QStringLiteral("pic(0)"));
    key(Qt::Key_Return);
    QCOMPARE(heard.last(), QStringLiteral("Только для чтения"));

    click(find<TextButton>(w(), "lblAgree"));
    click(find<QPushButton>(w(), "rbL(0)"));
    QCOMPARE(focusName(), QStringLiteral("pic(100)")); // the field to fire at, the battle's first
    int water = 100;
    while (w().game().board().state(water) != CellState::Empty)
        ++water;
    aim(water);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(heard.last(), QStringLiteral("Ход компьютера"));
    tickComputer(w());
    for (int index : compCells(w(), CellState::Ship))
        w().pic_MouseDown(index, Qt::LeftButton);
    QVERIFY(w().game().isOver());
    key(Qt::Key_Return);
    QCOMPARE(heard.last(), QStringLiteral("Игра окончена"));
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
