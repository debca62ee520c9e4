#include "battledriver.h"
#include "windowfixture.h"

#include "store/pendingrows.h"
#include "store/resultskeeper.h"
#include "view/controls/scorepanel.h"
#include "view/controls/textbutton.h"
#include "view/effects/boombox.h"
#include "view/fields/storedpicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace WindowDriver;
using namespace BattleDriver;

class BattleWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<WindowFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void playerWinStoresOneRow();
    void computerWinStoresOneRow();
    void finishedGameIsStoredOrKeptAndToldTruthfully_data();
    void finishedGameIsStoredOrKeptAndToldTruthfully();
    void refusedShotChangesNothing();
    void newGameDuringTheComputersTurnStopsItsMoves();
    void escAnsweredNoLeavesEveryPhaseAsItWas_data();
    void escAnsweredNoLeavesEveryPhaseAsItWas();
    void quitAnsweredYesStopsTheSoundAndEnds_data();
    void quitAnsweredYesStopsTheSoundAndEnds();
    void shipOrderCarriesIntoTheNextGame();
    void scorePanelFollowsItsSwitch();

private:
    frmMain &w() { return m_fixture->w(); }
    ResultsKeeper &keeper() { return *w().findChild<ResultsKeeper *>(); }
    QString baseFile() { return m_fixture->folder.filePath("Base.mdb"); }
    std::unique_ptr<WindowFixture> m_fixture;
};

// A game the player wins by sinking every ship stores one row: "Игрок", 20, the
// computer's hits, the level's caption; afterwards presses on the field do nothing.
void BattleWindowTest::playerWinStoresOneRow()
{
    layOutAndChooseLevel(w(), 2);
    QVERIFY(!find(w(), "RightL")->isHidden() && !find<TextButton>(w(), "cmdNewGame")->isHidden());
    const QList<int> ships = compCells(w(), CellState::Ship);
    QCOMPARE(ships.size(), 20);
    for (int index : ships)
        pressCell(w(), index);
    QCOMPARE(m_fixture->prompter.shown.last(), QStringLiteral("|Вы выиграли"));
    QCOMPARE(find<QLabel>(w(), "lblU")->text(), QStringLiteral("20"));
    for (int size = 1; size <= 4; ++size)
        QCOMPARE(find<QLabel>(w(), QStringLiteral("lblU%1").arg(size))->text(),
                 QStringLiteral("0"));
    QCOMPARE(storedRows(baseFile()), QStringList {"Игрок|20|0|Средний"});
    QVERIFY(!w().game().isBattle());

    const QList<int> water = compCells(w(), CellState::Empty);
    if (!water.isEmpty())
        pressCell(w(), water.first());
    QCOMPARE(compCells(w(), CellState::Empty), water);
    tickComputer(w());
    QCOMPARE(storedRows(baseFile()).size(), 1);
}

// A game the computer wins, its moves driven tick by tick, stores one row with
// "Компьютер" and 20 computer hits, and "Вы проиграли" is shown.
void BattleWindowTest::computerWinStoresOneRow()
{
    layOutAndChooseLevel(w(), 3);
    int guard = 0;
    while (!w().game().isOver() && guard++ < 200) {
        const QList<int> water = compCells(w(), CellState::Empty);
        QVERIFY(!water.isEmpty());
        pressCell(w(), water.first()); // always a miss
        QVERIFY(!find(w(), "LeftL")->isHidden());
        tickComputer(w());
    }
    QCOMPARE(w().game().playerField().count(CellState::Hit), 20);
    QCOMPARE(m_fixture->prompter.shown.last(), QStringLiteral("|Вы проиграли"));
    const QString misses = find<QLabel>(w(), "lblFU")->text();
    QCOMPARE(storedRows(baseFile()), QStringList {"Компьютер|0|20|Сложный"});
    QVERIFY(misses.toInt() > 0);
    QVERIFY(!timer(w(), "tmrI")->isActive());
    QVERIFY(!find(w(), "LeftL")->isHidden());
}

void BattleWindowTest::finishedGameIsStoredOrKeptAndToldTruthfully_data()
{
    QTest::addColumn<bool>("busy"); // another connection holds the results file at the end
    QTest::addColumn<bool>("noPendingFile"); // a folder stands where the pending file goes
    QTest::addColumn<int>("patienceMs");
    // What follows "Вы выиграли": %1 the results file, %2 the pending file.
    QTest::addColumn<QString>("told");
    QTest::newRow("results file free") << false << false << 10000 << QString();
    QTest::newRow("busy for a moment") << true << false << 10000 << QString();
    QTest::newRow("busy past the patience")
        << true << false << 300
        << "Результат игры пока не сохранен: файл %1 занят.\nОн записан в файл %2, и игра "
           "перенесет его в файл результатов, когда тот освободится.";
    QTest::newRow("busy, and no place on disk")
        << true << true << 10000
        << "Результат игры не сохранен: файл %1 занят.\nЗаписать его в файл %2 тоже нельзя: на "
           "его месте находится папка.\nПока игра открыта, она будет пытаться сохранить "
           "результат; после выхода из игры он будет потерян.";
}

// The row of a finished game is in the results file, or synced to the pending file, while
// "Вы выиграли" is still open, so nothing that ends the program then can lose it; only a
// missing place on disk is left to memory, and that is told at once. A file that is busy
// for a moment costs no message; one busy past the patience is told once, later. Either way
// the row lands in the results file once it is free, and the pending file goes.
void BattleWindowTest::finishedGameIsStoredOrKeptAndToldTruthfully()
{
    QFETCH(bool, busy);
    QFETCH(bool, noPendingFile);
    QFETCH(int, patienceMs);
    QFETCH(QString, told);
    QTemporaryDir dataHome;
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldDataHome); });
    const QString pending = PendingRows::filePath();
    if (noPendingFile)
        QVERIFY(QDir().mkpath(pending));
    keeper().setBusyPatienceForTesting(patienceMs);
    const QString won = QStringLiteral("Игрок|20|0|Легкий");
    QStringList expected {"|Вы выиграли"};
    if (!told.isEmpty())
        expected << "|"
                + told.arg(QDir::toNativeSeparators(baseFile()), QDir::toNativeSeparators(pending));

    layOutAndChooseLevel(w(), 1);
    const QList<int> ships = compCells(w(), CellState::Ship);
    for (int i = 0; i < ships.size() - 1; ++i)
        pressCell(w(), ships[i]);
    QStringList rowsWhileOpen {"not shown"};
    QStringList pendingWhileOpen;
    m_fixture->prompter.whileOpen = [&](const QString &text) {
        if (text != QStringLiteral("Вы выиграли"))
            return;
        if (!busy)
            rowsWhileOpen = storedRows(baseFile());
        pendingWhileOpen = waitingRows(pending);
    };
    auto dropHolder = qScopeGuard([] { QSqlDatabase::removeDatabase("holder"); });
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(baseFile());
        QVERIFY(holder.open());
        QSqlQuery hold(holder);
        if (busy)
            QVERIFY(hold.exec("BEGIN EXCLUSIVE"));
        if (noPendingFile) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("is a folder, not a regular"));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("have no place on disk"));
        }
        if (patienceMs < 1000)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("result not saved yet: .*locked"));
        pressCell(w(), ships.last());

        const QStringList &shown = m_fixture->prompter.shown;
        QTRY_COMPARE_WITH_TIMEOUT(shown.mid(shown.indexOf("|Вы выиграли")), expected, 10000);
        if (!busy)
            QCOMPARE(rowsWhileOpen, QStringList {won});
        else if (!noPendingFile)
            QCOMPARE(pendingWhileOpen, QStringList {won});
        if (busy)
            QVERIFY(hold.exec("COMMIT"));
    }
    QTRY_COMPARE_WITH_TIMEOUT(keeper().waitingCount(), 0, 10000);
    QCOMPARE(storedRows(baseFile()), QStringList {won});
    QCOMPARE(QFileInfo(pending).isDir(), noPendingFile);
    QVERIFY(noPendingFile || waitingRows(pending).isEmpty());
    // Nothing more was told once the row was stored.
    QCOMPARE(m_fixture->prompter.shown.last(), expected.last());
}

// A cell fired at before is refused with "Уже попадали", a hit cell under its marker box
// too; counters and turn stay.
void BattleWindowTest::refusedShotChangesNothing()
{
    layOutAndChooseLevel(w(), 1);
    const int ship = compCells(w(), CellState::Ship).first();
    pressCell(w(), ship);
    const QString hits = find<QLabel>(w(), "lblU")->text();
    QCOMPARE(w().childAt(centreOf(cell(w(), ship))),
             static_cast<QWidget *>(find<BoomBox>(w(), QStringLiteral("picBoom(%1)").arg(0))));
    pressOnScreen(w(), ship);
    QCOMPARE(m_fixture->prompter.shown.last(), QStringLiteral("|Уже попадали"));
    QCOMPARE(find<QLabel>(w(), "lblU")->text(), hits);
    QVERIFY(!find(w(), "RightL")->isHidden());
}

// "Новая Игра" confirmed in the computer's turn stops its moves at once and brings back
// the first placement state; no row is written.
void BattleWindowTest::newGameDuringTheComputersTurnStopsItsMoves()
{
    layOutAndChooseLevel(w(), 1);
    pressCell(w(), compCells(w(), CellState::Empty).first());
    QVERIFY(timer(w(), "tmrI")->isActive() && !find(w(), "LeftL")->isHidden());
    m_fixture->prompter.answers = {true};
    click(find<TextButton>(w(), "cmdNewGame"));
    QCOMPARE(m_fixture->prompter.shown.last(),
             QStringLiteral("Новая Игра|               Начать заново ?"));
    QVERIFY(!timer(w(), "tmrI")->isActive());
    QVERIFY(find(w(), "LeftL")->isHidden() && find(w(), "RightL")->isHidden()
            && find<TextButton>(w(), "cmdNewGame")->isHidden());
    QCOMPARE(find<TextButton>(w(), "lblSetAuto")->text(),
             QStringLiteral("Расставить автоматически"));
    QVERIFY(!find<TextButton>(w(), "lblSetAuto")->isHidden()
            && !find<TextButton>(w(), "lblSetY")->isHidden());
    QCOMPARE(w().game().playerField().count(CellState::Empty), 100);
    QCOMPARE(w().game().computerField().count(CellState::Ship), 20);
    QCOMPARE(find<QLabel>(w(), "lblFU")->text(), QStringLiteral("0"));
    QCOMPARE(markersShown(w()), 0);
    QVERIFY(storedRows(baseFile()).isEmpty());
}

// Esc answered No leaves cells, counters, timers and controls as they were, in every
// phase, the computer's turn included.
void BattleWindowTest::escAnsweredNoLeavesEveryPhaseAsItWas_data()
{
    QTest::addColumn<QString>("phase");
    for (const char *phase :
         {"choosing the way", "by hand", "automatic", "levels", "player", "computer", "finished"})
        QTest::newRow(phase) << QString::fromLatin1(phase);
}

void BattleWindowTest::escAnsweredNoLeavesEveryPhaseAsItWas()
{
    QFETCH(QString, phase);
    if (phase == "by hand")
        click(find<TextButton>(w(), "lblSetY"));
    if (phase == "automatic" || phase == "levels")
        click(find<TextButton>(w(), "lblSetAuto"));
    if (phase == "levels")
        click(find<TextButton>(w(), "lblAgree"));
    if (phase == "player" || phase == "computer" || phase == "finished")
        layOutAndChooseLevel(w(), 1);
    if (phase == "computer")
        pressCell(w(), compCells(w(), CellState::Empty).first());
    if (phase == "finished")
        for (int index : compCells(w(), CellState::Ship))
            pressCell(w(), index);

    auto snapshot = [this] {
        QStringList state;
        for (int i = 0; i < Board::CellCount; ++i)
            state << QString::number(int(w().game().board().state(i)));
        for (QWidget *child : w().findChildren<QWidget *>())
            state << child->objectName() + (child->isHidden() ? "-" : "+");
        for (QLabel *label : find(w(), "Frame1")->findChildren<QLabel *>())
            state << label->text();
        state << QString::number(timer(w(), "tmrI")->isActive())
              << QString::number(w().game().isBattle());
        return state;
    };
    const QStringList before = snapshot();
    const int soundCalls = m_fixture->sound.calls.size();
    m_fixture->prompter.answers = {false};
    QTest::keyClick(&w(), Qt::Key_Escape);
    QCOMPARE(m_fixture->prompter.shown.last(),
             QStringLiteral("Выход|   Вы действительно хотите Выйти ?"));
    QCOMPARE(snapshot(), before);
    QCOMPARE(m_fixture->sound.calls.size(), soundCalls);
    QVERIFY(w().isVisible());
}

// Esc, or a close request of the window system, answered Yes stops the hit sound and
// ends the program without a row; answered No, the window stays.
void BattleWindowTest::quitAnsweredYesStopsTheSoundAndEnds_data()
{
    QTest::addColumn<bool>("byEsc");
    QTest::newRow("Esc") << true;
    QTest::newRow("close request") << false;
}

void BattleWindowTest::quitAnsweredYesStopsTheSoundAndEnds()
{
    QFETCH(bool, byEsc);
    layOutAndChooseLevel(w(), 1);
    pressCell(w(), compCells(w(), CellState::Ship).first());
    auto requestQuit = [&] {
        if (byEsc)
            QTest::keyClick(find<TextButton>(w(), "lblStat"), Qt::Key_Escape);
        else
            w().close();
    };
    m_fixture->prompter.answers = {false};
    requestQuit();
    QVERIFY(w().isVisible());
    m_fixture->prompter.answers = {true};
    requestQuit();
    QCOMPARE(m_fixture->prompter.shown.last(),
             QStringLiteral("Выход|   Вы действительно хотите Выйти ?"));
    QCOMPARE(m_fixture->sound.calls.last(), QStringLiteral("stop hit"));
    QVERIFY(!w().isVisible());
    QVERIFY(storedRows(baseFile()).isEmpty());
}

// After a game placed by hand, the next placement by hand starts with the ship placed
// last, then goes on from member 0; all members are enabled again.
void BattleWindowTest::shipOrderCarriesIntoTheNextGame()
{
    click(find<TextButton>(w(), "lblSetY"));
    const int tops[10][2]
        = {{1, 1}, {1, 3}, {1, 5}, {1, 7}, {1, 9}, {6, 1}, {6, 3}, {6, 5}, {6, 7}, {6, 9}};
    for (const auto &top : tops) {
        moveToCell(w(), playerCell(top[0], top[1]));
        pressCell(w(), playerCell(top[0], top[1]));
    }
    click(find<QPushButton>(w(), QStringLiteral("rbL(%1)").arg(0)));
    m_fixture->prompter.answers = {true};
    click(find<TextButton>(w(), "cmdNewGame"));
    click(find<TextButton>(w(), "lblSetY"));
    QVERIFY(find<QRadioButton>(w(), QStringLiteral("rb(%1)").arg(9))->isChecked());
    for (QRadioButton *member : array<QRadioButton>(w(), "rb", 10))
        QVERIFY(member->isEnabled() && !member->isHidden());
    moveToCell(w(), playerCell(1, 1));
    pressCell(w(), playerCell(1, 1));
    QCOMPARE(w().game().playerField().count(CellState::Ship), 1);
    QVERIFY(find<QRadioButton>(w(), QStringLiteral("rb(%1)").arg(0))->isChecked());
}

// "Счет" shows and hides the score panel in any phase; the counters go on meanwhile.
void BattleWindowTest::scorePanelFollowsItsSwitch()
{
    click(find<QCheckBox>(w(), "chPoints"));
    QVERIFY(!find(w(), "Frame1")->isHidden());
    layOutAndChooseLevel(w(), 1);
    click(find<QCheckBox>(w(), "chPoints"));
    QVERIFY(find(w(), "Frame1")->isHidden());
    pressCell(w(), compCells(w(), CellState::Ship).first());
    click(find<QCheckBox>(w(), "chPoints"));
    QVERIFY(!find(w(), "Frame1")->isHidden());
    QCOMPARE(find<QLabel>(w(), "lblU")->text(), QStringLiteral("1"));
}

QTEST_MAIN(BattleWindowTest)
#include "tst_battlewindow.moc"
