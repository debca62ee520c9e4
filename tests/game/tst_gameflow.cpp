#include "battle/game.h"
#include "coretestsupport.h"
#include "recordingeffects.h"

#include <QTest>

namespace {
// The computer's fleet of these tests: the four-cell ship at the top row, the others
// spread out, so a test knows where every ship part is.
const QStringList computerFleet = {
    "SSSS......", "..........", "SSS.SSS...", "..........", "SS.SS.SS..",
    "..........", "S.S.S.S...", "..........", "..........", "..........",
};

int compCell(int row, int column)
{
    return Field::cellIndex(Side::Comp, row, column);
}
} // namespace

class GameFlowTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void placementStatesFollowTheButtons_data();
    void placementStatesFollowTheButtons();
    void placingTenShipsByHandLeadsToTheLevels();
    void ctrlTakesEffectAtTheNextMove();
    void playerShotsFollowTheirSteps_data();
    void playerShotsFollowTheirSteps();
    void playerVictoryStoresOneResultBeforeTheMessage();
    void computerMissHandsTheTurnBack();
    void computerWinStopsItsMovesBeforeTheMessage();
    void newGameResetsEverythingInOrder();
    void randomEventsNeverBreakTheGame();

private:
    void startBattle(int level);

    quint64 m_ticks = 0;
    ClockSeededRandom m_random {[this] { return ++m_ticks; }};
    RecordingEffects m_effects;
    std::unique_ptr<Game> m_game;
};

void GameFlowTest::init()
{
    m_ticks = 0;
    m_effects = RecordingEffects();
    m_game = std::make_unique<Game>(m_effects, m_random);
    m_game->start();
}

// Lays the player's fleet at random, chooses the level and replaces the computer's
// fleet with the known one.
void GameFlowTest::startBattle(int level)
{
    m_game->layOutAutomatically();
    m_game->acceptLayout();
    loadGrid(m_game->board(), Side::Comp, computerFleet);
    m_game->chooseLevel(level - 1);
    m_effects.calls.clear();
}

// The four placement states move only as the buttons allow; there is no way back from
// one way of placing to the other.
void GameFlowTest::placementStatesFollowTheButtons_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<int>("phase");
    using P = Game::Phase;
    QTest::newRow("nothing") << "" << int(P::ChoosingWay);
    QTest::newRow("by hand") << "hand" << int(P::PlacingByHand);
    QTest::newRow("automatic") << "auto" << int(P::AutoLayoutShown);
    QTest::newRow("rolled again") << "auto auto auto" << int(P::AutoLayoutShown);
    QTest::newRow("accepted") << "auto agree" << int(P::ChoosingLevel);
    QTest::newRow("accept before a layout") << "agree" << int(P::ChoosingWay);
    QTest::newRow("no way to automatic from by hand") << "hand auto agree" << int(P::PlacingByHand);
    QTest::newRow("no way to by hand from automatic") << "auto hand" << int(P::AutoLayoutShown);
    QTest::newRow("level") << "auto agree level" << int(P::Battle);
    QTest::newRow("level before the fleet") << "level" << int(P::ChoosingWay);
}

void GameFlowTest::placementStatesFollowTheButtons()
{
    QFETCH(QString, clicks);
    QFETCH(int, phase);
    for (const QString &click : clicks.split(' ', Qt::SkipEmptyParts)) {
        if (click == "hand")
            m_game->placeByHand();
        else if (click == "auto")
            m_game->layOutAutomatically();
        else if (click == "agree")
            m_game->acceptLayout();
        else
            m_game->chooseLevel(1);
    }
    QCOMPARE(int(m_game->phase()), phase);
    const bool laidOut = clicks.contains("auto") && !clicks.startsWith("hand");
    QCOMPARE(m_game->arrPlayer().count(CellState::Ship), laidOut ? 20 : 0);
    QCOMPARE(m_game->arrComp().count(CellState::Ship), 20);
    QCOMPARE(m_game->score(), Score {});
}

// Ten ships put down by hand, each at a previewed cell, take the picker through the sizes
// 4, 3, 3, 2, 2, 2, 1, 1, 1, 1 and end at the level buttons, the last member selected.
void GameFlowTest::placingTenShipsByHandLeadsToTheLevels()
{
    m_game->placeByHand();
    const int tops[10][2]
        = {{1, 1}, {1, 3}, {1, 5}, {1, 7}, {1, 9}, {6, 1}, {6, 3}, {6, 5}, {6, 7}, {6, 9}};
    const int sizes[10] = {4, 3, 3, 2, 2, 2, 1, 1, 1, 1};
    for (int ship = 0; ship < 10; ++ship) {
        QCOMPARE(m_game->picker().selectedSize(), sizes[ship]);
        const int index = Field::cellIndex(Side::Player, tops[ship][0], tops[ship][1]);
        m_game->pointerOverCell(index);
        QVERIFY(!m_game->board().hasFrame(index));
        m_game->pressCell(index, true);
        QCOMPARE(m_game->board().state(index), CellState::Ship);
    }
    QCOMPARE(m_game->phase(), Game::Phase::ChoosingLevel);
    QCOMPARE(m_game->arrPlayer().count(CellState::Ship), 20);
    QCOMPARE(m_game->picker().selected(), 9);
    QVERIFY(!m_game->picker().isEnabled(9));
    QCOMPARE(m_game->score(), Score {});
}

// Ctrl changes the orientation of the next preview, not the one on show; a click where
// the ship fits only the old way puts nothing down and keeps the same ship selected.
void GameFlowTest::ctrlTakesEffectAtTheNextMove()
{
    m_game->placeByHand();
    const int corner = Field::cellIndex(Side::Player, 1, 8); // a four-cell ship fits down only
    m_game->pointerOverCell(corner);
    QVERIFY(!m_game->board().hasFrame(corner));
    m_game->setCtrl(true);
    QVERIFY(!m_game->board().hasFrame(corner)); // still the vertical preview
    m_game->pressCell(corner, true);
    QCOMPARE(m_game->arrPlayer().count(CellState::Ship), 0);
    QVERIFY(m_game->board().hasFrame(corner));
    QCOMPARE(m_game->picker().selected(), 0);

    const int left = Field::cellIndex(Side::Player, 10, 1);
    m_game->pointerOverCell(left);
    m_game->pressCell(left, true);
    QCOMPARE(m_game->arrPlayer().state(10, 4), CellState::Ship); // horizontal
    QCOMPARE(m_game->picker().selected(), 1);
}

// Each kind of shot makes its calls in the order the rules give.
void GameFlowTest::playerShotsFollowTheirSteps_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("turn");
    const int miss = compCell(2, 1);
    const int hit = compCell(1, 1);
    const int single = compCell(7, 1);
    QTest::newRow("miss") << miss << QStringList {"stop hit sound", "tmrI on"}
                          << int(Game::Turn::Computer);
    QTest::newRow("hit") << hit
                         << QStringList {"stop hit sound", "start hit sound",
                                         QStringLiteral("boom %1").arg(hit), "boom timer",
                                         "tmrI on"}
                         << int(Game::Turn::Player);
    QTest::newRow("sinking hit") << single
                                 << QStringList {"stop hit sound", "start hit sound",
                                                 QStringLiteral("boom %1").arg(single),
                                                 "boom timer", "tmrI on"}
                                 << int(Game::Turn::Player);
    QTest::newRow("own field") << Field::cellIndex(Side::Player, 1, 1) << QStringList {}
                               << int(Game::Turn::Player);
}

void GameFlowTest::playerShotsFollowTheirSteps()
{
    QFETCH(int, cell);
    QFETCH(QStringList, expected);
    QFETCH(int, turn);
    startBattle(1);
    m_game->pressCell(cell, false); // another button: nothing at all
    QVERIFY(m_effects.calls.isEmpty());
    m_game->pressCell(cell, true);
    QCOMPARE(m_effects.effects(), expected);
    QCOMPARE(int(m_game->turn()), turn);

    // The same cell again is refused, and nothing else changes.
    if (Field::sideOf(cell) == Side::Comp && turn == int(Game::Turn::Player)) {
        const Score before = m_game->score();
        m_effects.calls.clear();
        m_game->pressCell(cell, true);
        QCOMPARE(m_effects.effects(),
                 (QStringList {"stop hit sound", QStringLiteral("message Уже попадали")}));
        QCOMPARE(m_game->score(), before);
    }
}

// The twentieth hit ends the game: the sound stops, the battle ends, the result is
// stored once and only then the message shows; no later press fires.
void GameFlowTest::playerVictoryStoresOneResultBeforeTheMessage()
{
    startBattle(2);
    Board &board = m_game->board();
    for (int index = 100; index < 200; ++index) {
        if (board.state(index) == CellState::Ship && index != compCell(1, 1))
            board.setState(index, CellState::Hit);
    }
    m_effects.calls.clear();
    m_game->pressCell(compCell(1, 1), true);
    const QStringList tail = m_effects.effects().mid(4);
    QCOMPARE(tail,
             (QStringList {"stop hit sound", "tmrI off", QStringLiteral("save Игрок"),
                           QStringLiteral("message Вы выиграли"), "tmrI on"}));
    QVERIFY(!m_game->bolBattle());
    QVERIFY(m_game->isOver());
    QCOMPARE(m_game->score().compAfloat[4], 0);

    m_effects.calls.clear();
    m_game->pressCell(compCell(10, 10), true);
    m_game->computerTimerTick();
    QCOMPARE(m_effects.effects(), QStringList {"tmrI off"});
    QCOMPARE(board.state(compCell(10, 10)), CellState::Empty); // never shot
}

// A computer's miss marks the cell and hands the turn back with the timer off.
void GameFlowTest::computerMissHandsTheTurnBack()
{
    startBattle(1);
    m_game->pressCell(compCell(2, 1), true); // the player misses
    // Leave the player's field a single water cell among hits, so the move must miss.
    Board &board = m_game->board();
    for (int index = 0; index < 100; ++index)
        board.setState(index, index == 55 ? CellState::Empty : CellState::Miss);
    m_effects.calls.clear();
    m_game->computerTimerTick();
    QCOMPARE(m_effects.effects(), (QStringList {"stop hit sound", "tmrI off"}));
    QCOMPARE(board.state(55), CellState::Miss);
    QCOMPARE(board.picture(55), CellPicture::missMark());
    QCOMPARE(m_game->turn(), Game::Turn::Player);
    QVERIFY(m_game->bolBattle());
    QCOMPARE(m_game->score().compMisses, 1);
}

// The computer's twentieth hit switches the battle and the timer off before the message,
// so no move can start while it is open; the result is stored once, before it.
void GameFlowTest::computerWinStopsItsMovesBeforeTheMessage()
{
    startBattle(3);
    m_game->pressCell(compCell(2, 1), true);
    Board &board = m_game->board();
    int last = -1;
    for (int index = 0; index < 100; ++index) {
        if (board.state(index) != CellState::Ship)
            board.setState(index, CellState::Miss);
        else if (last < 0)
            last = index;
        else
            board.setState(index, CellState::Hit);
    }
    int movesWhileOpen = 0;
    m_effects.onMessage = [&](const QString &) {
        // The timer is off; even a stray tick makes no move.
        const int before = m_effects.count("boom");
        m_game->computerTimerTick();
        movesWhileOpen += m_effects.count("boom") - before;
    };
    m_effects.calls.clear();
    m_game->computerTimerTick();
    const QStringList effects = m_effects.effects();
    const int message = effects.indexOf(QStringLiteral("message Вы проиграли"));
    QVERIFY(message > 0);
    QCOMPARE(effects.mid(message - 3, 3),
             (QStringList {"stop hit sound", "tmrI off", QStringLiteral("save Компьютер")}));
    QCOMPARE(m_effects.count("save"), 1);
    QCOMPARE(movesWhileOpen, 0);
    QVERIFY(!m_game->bolBattle());
    QCOMPARE(m_game->turn(), Game::Turn::Computer);
}

// A new game clears both fields, the markers and the counters, enables the picker
// (keeping its selection), lays a fresh computer fleet and returns to the first state.
void GameFlowTest::newGameResetsEverythingInOrder()
{
    m_game->selectShip(3);
    startBattle(2);
    m_game->pressCell(compCell(1, 1), true);
    m_game->pressCell(compCell(2, 1), true);
    m_effects.calls.clear();
    m_game->newGame();
    QCOMPARE(m_effects.effects(), (QStringList {"clear markers", "markers from 0", "tmrI off"}));
    QCOMPARE(m_game->phase(), Game::Phase::ChoosingWay);
    QCOMPARE(m_game->turn(), Game::Turn::None);
    QVERIFY(!m_game->bolBattle());
    QCOMPARE(m_game->score(), Score {});
    QCOMPARE(m_game->intLevel(), 2);
    QCOMPARE(m_game->arrPlayer().count(CellState::Empty), 100);
    QCOMPARE(m_game->arrComp().count(CellState::Ship), 20);
    QCOMPARE(m_game->arrComp().count(CellState::Empty), 80);
    for (int index = 0; index < Board::CellCount; ++index) {
        QVERIFY(m_game->board().hasFrame(index));
        QCOMPARE(m_game->board().picture(index), CellPicture::none());
    }
    for (int member = 0; member < ShipPicker::Count; ++member)
        QVERIFY(m_game->picker().isEnabled(member));
    QCOMPARE(m_game->picker().selected(), 3);
}

// Whatever a player does in whatever order, with timer ticks also arriving while message
// boxes are open, the game stays in a described state and stores at most one result
// per game.
void GameFlowTest::randomEventsNeverBreakTheGame()
{
    ClockSeededRandom chooser([] { return 7; });
    int games = 0;
    for (int round = 0; round < 300; ++round) {
        init();
        m_effects.onMessage = [this](const QString &) {
            if (m_game->isComputerTimerOn())
                m_game->computerTimerTick();
        };
        int savesThisGame = 0;
        for (int step = 0; step < 600; ++step) {
            const int action = int(chooser.next() * 12);
            const int cell = int(chooser.next() * 200);
            const int savesBefore = m_effects.count("save");
            switch (action) {
            case 0:
                m_game->placeByHand();
                break;
            case 1:
                m_game->layOutAutomatically();
                break;
            case 2:
                m_game->acceptLayout();
                break;
            case 3:
                m_game->chooseLevel(int(chooser.next() * 3));
                break;
            case 4:
                m_game->setCtrl(chooser.next() < 0.5);
                break;
            case 5:
                m_game->pointerOverCell(cell);
                break;
            case 6:
                m_game->pointerOverBareWindow();
                break;
            case 7:
                m_game->selectShip(int(chooser.next() * 10));
                break;
            case 8:
                if (m_game->isComputerTimerOn())
                    m_game->computerTimerTick();
                break;
            case 9:
                if (m_game->phase() == Game::Phase::Battle && chooser.next() < 0.05) {
                    m_game->newGame();
                    savesThisGame = 0;
                    ++games;
                }
                break;
            default:
                m_game->pointerOverCell(cell);
                m_game->pressCell(cell, true);
                break;
            }
            savesThisGame += m_effects.count("save") - savesBefore;
            QVERIFY(savesThisGame <= 1);
            const bool battle = m_game->phase() == Game::Phase::Battle;
            QCOMPARE(m_game->turn() == Game::Turn::None, !battle);
            if (!battle)
                QVERIFY(!m_game->bolBattle() && !m_game->isComputerTimerOn());
            QCOMPARE(m_game->arrComp().count(CellState::Ship)
                         + m_game->arrComp().count(CellState::Hit),
                     20);
            QVERIFY(m_game->arrPlayer().count(CellState::Hit) <= 20);
            if (m_game->isOver())
                QVERIFY(!m_game->bolBattle() || m_game->turn() == Game::Turn::Player);
        }
    }
    QVERIFY(games > 0);
}

QTEST_MAIN(GameFlowTest)
#include "tst_gameflow.moc"
