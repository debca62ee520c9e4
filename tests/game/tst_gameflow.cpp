#include "battle/game.h"
#include "coretestsupport.h"
#include "gamerecorder.h"
#include "model/fleet.h"

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
    void shotsOfBothSidesResolveAlike_data();
    void shotsOfBothSidesResolveAlike();
    void playerVictoryEndsTheGameOnce();
    void computerWinEndsItsMovesBeforeTheMessage();
    void newGameResetsEverything();
    void randomEventsNeverBreakTheGame();

private:
    void startBattle(int level);

    quint64 m_ticks = 0;
    ClockSeededRandom m_random {[this] { return ++m_ticks; }};
    std::unique_ptr<Game> m_game;
    std::unique_ptr<GameRecorder> m_recorder;
};

void GameFlowTest::init()
{
    m_ticks = 0;
    m_game = std::make_unique<Game>(m_random);
    m_recorder = std::make_unique<GameRecorder>(*m_game);
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
    m_recorder->events.clear();
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
    QCOMPARE(m_game->playerField().count(CellState::Ship), laidOut ? 20 : 0);
    QCOMPARE(m_game->computerField().count(CellState::Ship), 20);
    QCOMPARE(m_game->score(), Score {});
}

// Ten ships put down by hand, each at a previewed cell, take the picker through the sizes
// 4, 3, 3, 2, 2, 2, 1, 1, 1, 1 and end at the level buttons, the last member selected.
void GameFlowTest::placingTenShipsByHandLeadsToTheLevels()
{
    m_game->placeByHand();
    const int tops[10][2]
        = {{1, 1}, {1, 3}, {1, 5}, {1, 7}, {1, 9}, {6, 1}, {6, 3}, {6, 5}, {6, 7}, {6, 9}};
    for (int ship = 0; ship < 10; ++ship) {
        QCOMPARE(m_game->picker().selectedSize(), Fleet::Sizes[ship]);
        const int index = Field::cellIndex(Side::Player, tops[ship][0], tops[ship][1]);
        m_game->pointerOverCell(index);
        QVERIFY(!m_game->board().hasFrame(index));
        m_game->pressCell(index, true);
        QCOMPARE(m_game->board().state(index), CellState::Ship);
    }
    QCOMPARE(m_game->phase(), Game::Phase::ChoosingLevel);
    QCOMPARE(m_game->playerField().count(CellState::Ship), 20);
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
    QCOMPARE(m_game->playerField().count(CellState::Ship), 0);
    QVERIFY(m_game->board().hasFrame(corner));
    QCOMPARE(m_game->picker().selected(), 0);

    const int left = Field::cellIndex(Side::Player, 10, 1);
    m_game->pointerOverCell(left);
    m_game->pressCell(left, true);
    QCOMPARE(m_game->playerField().state(10, 4), CellState::Ship); // horizontal
    QCOMPARE(m_game->picker().selected(), 1);
}

// Either side's shot is one resolution: a miss passes the turn, a hit keeps it, a
// sinking hit rings the ship and lowers the owner's count, a cell fired at before is
// refused and changes nothing.
void GameFlowTest::shotsOfBothSidesResolveAlike_data()
{
    QTest::addColumn<bool>("byComputer");
    QTest::addColumn<QString>("cell"); // "r,c" on the opponent's field
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("ring");
    QTest::addColumn<QStringList>("events");
    using R = Shot::Result;
    const QStringList player = {"turn Computer"};
    const QStringList computer = {"turn Player"};
    QTest::newRow("player misses") << false << "2,1" << int(R::Miss) << 0 << player;
    QTest::newRow("player hits") << false << "1,1" << int(R::Hit) << 0 << QStringList {};
    QTest::newRow("player sinks") << false << "7,1" << int(R::Sunk) << 5 << QStringList {};
    QTest::newRow("player fires twice")
        << false << "refire" << int(R::Refused) << 0 << QStringList {};
    QTest::newRow("computer misses") << true << "2,1" << int(R::Miss) << 0 << computer;
    QTest::newRow("computer hits") << true << "1,1" << int(R::Hit) << 0 << QStringList {};
    QTest::newRow("computer sinks") << true << "7,1" << int(R::Sunk) << 5 << QStringList {};
}

void GameFlowTest::shotsOfBothSidesResolveAlike()
{
    QFETCH(bool, byComputer);
    QFETCH(QString, cell);
    QFETCH(int, result);
    QFETCH(int, ring);
    QFETCH(QStringList, events);
    startBattle(1);
    Board &board = m_game->board();
    const bool refire = cell == "refire";
    const int row = refire ? 1 : cell.section(',', 0, 0).toInt();
    const int column = refire ? 1 : cell.section(',', 1, 1).toInt();
    const Side target = byComputer ? Side::Player : Side::Comp;
    const int index = Field::cellIndex(target, row, column);
    if (refire)
        m_game->pressCell(index, true);
    if (byComputer) {
        m_game->pressCell(compCell(2, 1), true); // the player's miss hands over the turn
        // The player's field holds nothing else to fire at but the row's cells.
        for (int i = 0; i < 100; ++i)
            board.setState(i, CellState::Miss);
        board.setState(index,
                       result == int(Shot::Result::Miss) ? CellState::Empty : CellState::Ship);
        if (result == int(Shot::Result::Hit)) // a two-cell ship: either cell is a hit
            board.setState(Field::cellIndex(Side::Player, 1, 2), CellState::Ship);
    }
    m_recorder->events.clear();
    const Score before = m_game->score();
    m_game->pressCell(index, false); // another button: nothing at all
    QVERIFY(m_recorder->events.isEmpty());
    const std::optional<Shot> shot
        = byComputer ? m_game->CompAtack() : m_game->pressCell(index, true);
    QVERIFY(shot);
    if (!byComputer || result != int(Shot::Result::Hit))
        QCOMPARE(shot->cell, index);
    const int fired = shot->cell;
    QCOMPARE(int(shot->result), result);
    QCOMPARE(int(shot->ring.size()), ring);
    QCOMPARE(shot->shooter, byComputer ? Side::Comp : Side::Player);
    QVERIFY(!shot->won);
    QCOMPARE(m_recorder->events,
             QStringList {QStringLiteral("shot %1 %2")
                              .arg(QStringList {"Refused", "Miss", "Hit", "Sunk"}[result])
                              .arg(fired)}
                 + events);
    const Score &after = m_game->score();
    const int hits
        = byComputer ? after.compHits - before.compHits : after.userHits - before.userHits;
    const int misses
        = byComputer ? after.compMisses - before.compMisses : after.userMisses - before.userMisses;
    QCOMPARE(hits, shot->isHit() ? 1 : 0);
    QCOMPARE(misses, result == int(Shot::Result::Miss) ? 1 : 0);
    const auto &afloat = byComputer ? after.playerAfloat : after.compAfloat;
    QCOMPARE(afloat[1], result == int(Shot::Result::Sunk) ? 3 : 4);
    for (int marked : shot->ring)
        QCOMPARE(board.state(marked), CellState::Miss);
    // Only the player's hit turns the frame off: the computer's ships stay unseen.
    if (!refire)
        QCOMPARE(board.hasFrame(fired), byComputer || !shot->isHit());
    if (result == int(Shot::Result::Miss))
        QCOMPARE(board.picture(fired), CellPicture::missMark());
    QCOMPARE(m_game->pressCell(Field::cellIndex(Side::Player, 5, 5), true).has_value(), false);
}

// The player's twentieth hit ends the game once: the shot says so, the end follows it
// and no later press or move fires.
void GameFlowTest::playerVictoryEndsTheGameOnce()
{
    startBattle(2);
    Board &board = m_game->board();
    for (int index = 100; index < 200; ++index) {
        if (board.state(index) == CellState::Ship && index != compCell(1, 1))
            board.setState(index, CellState::Hit);
    }
    m_recorder->events.clear();
    const std::optional<Shot> shot = m_game->pressCell(compCell(1, 1), true);
    QVERIFY(shot && shot->won);
    QCOMPARE(shot->result, Shot::Result::Sunk);
    QCOMPARE(m_recorder->events,
             (QStringList {QStringLiteral("shot Sunk %1").arg(compCell(1, 1)), "end Player"}));
    QVERIFY(!m_game->isBattle());
    QVERIFY(m_game->isOver());
    QCOMPARE(m_game->score().compAfloat[4], 0);

    m_recorder->events.clear();
    QVERIFY(!m_game->pressCell(compCell(10, 10), true));
    QVERIFY(!m_game->CompAtack());
    QVERIFY(m_recorder->events.isEmpty());
    QCOMPARE(board.state(compCell(10, 10)), CellState::Empty); // never shot
}

// The computer's twentieth hit ends the game; a move asked for while the end message
// is open (a stray tick) fires nothing.
void GameFlowTest::computerWinEndsItsMovesBeforeTheMessage()
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
    m_recorder->whileEnding = [&] { movesWhileOpen += m_game->CompAtack().has_value(); };
    m_recorder->events.clear();
    const std::optional<Shot> shot = m_game->CompAtack();
    QVERIFY(shot && shot->won && shot->cell == last);
    QCOMPARE(m_recorder->events.last(), QStringLiteral("end Computer"));
    QCOMPARE(m_recorder->events.count(QStringLiteral("end Computer")), 1);
    QCOMPARE(movesWhileOpen, 0);
    QVERIFY(!m_game->isBattle());
    QCOMPARE(m_game->turn(), Game::Turn::Computer);
}

// A new game clears both fields and the counters, enables the picker (keeping its
// selection), lays a fresh computer fleet and returns to the first state.
void GameFlowTest::newGameResetsEverything()
{
    m_game->selectShip(3);
    startBattle(2);
    m_game->pressCell(compCell(1, 1), true);
    m_game->pressCell(compCell(2, 1), true);
    m_recorder->events.clear();
    m_game->newGame();
    QCOMPARE(m_recorder->events, QStringList {"turn None"});
    QCOMPARE(m_game->phase(), Game::Phase::ChoosingWay);
    QCOMPARE(m_game->turn(), Game::Turn::None);
    QVERIFY(!m_game->isBattle());
    QCOMPARE(m_game->score(), Score {});
    QCOMPARE(m_game->level(), 2);
    QCOMPARE(m_game->playerField().count(CellState::Empty), 100);
    QCOMPARE(m_game->computerField().count(CellState::Ship), 20);
    QCOMPARE(m_game->computerField().count(CellState::Empty), 80);
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
    auto ends = [this] { return m_recorder->ends; };
    ClockSeededRandom chooser([] { return 7; });
    int games = 0;
    for (int round = 0; round < 300; ++round) {
        init();
        // Moves come while the end message is open, as a running timer would bring them.
        m_recorder->whileEnding = [this] { m_game->CompAtack(); };
        int endsThisGame = 0;
        for (int step = 0; step < 600; ++step) {
            const int action = int(chooser.next() * 12);
            const int cell = int(chooser.next() * 200);
            const int endsBefore = ends();
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
                m_game->CompAtack();
                break;
            case 9:
                if (m_game->phase() == Game::Phase::Battle && chooser.next() < 0.05) {
                    m_game->newGame();
                    endsThisGame = 0;
                    ++games;
                }
                break;
            default:
                m_game->pointerOverCell(cell);
                m_game->pressCell(cell, true);
                break;
            }
            endsThisGame += ends() - endsBefore;
            QVERIFY(endsThisGame <= 1);
            const bool battle = m_game->phase() == Game::Phase::Battle;
            QCOMPARE(m_game->turn() == Game::Turn::None, !battle);
            if (!battle)
                QVERIFY(!m_game->isBattle());
            QCOMPARE(m_game->computerField().count(CellState::Ship)
                         + m_game->computerField().count(CellState::Hit),
                     20);
            QVERIFY(m_game->playerField().count(CellState::Hit) <= 20);
            if (m_game->isOver())
                QVERIFY(!m_game->isBattle() || m_game->turn() == Game::Turn::Player);
        }
    }
    QVERIFY(games > 0);
}

QTEST_MAIN(GameFlowTest)
#include "tst_gameflow.moc"
