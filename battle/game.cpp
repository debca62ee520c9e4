#include "battle/game.h"

#include "battle/computeropponent.h"
#include "battle/sinkresolver.h"
#include "placement/placementrule.h"

namespace {
// Beside the computer's field the placement test gets a cell outside the field,
// which only clears the preview.
constexpr int OffField = 11;
} // namespace

Game::Game(GameEffects &effects, RandomSource &random)
    : m_effects(effects), m_random(random), m_layout(m_board, random)
{ }

bool Game::isOver() const
{
    return m_arrPlayer.count(CellState::Hit) == FleetCells
        || m_arrComp.count(CellState::Hit) == FleetCells;
}

void Game::start()
{
    m_layout.SetShips(true);
}

void Game::placeByHand()
{
    if (m_phase != Phase::ChoosingWay)
        return;
    m_phase = Phase::PlacingByHand;
    m_effects.mirror();
}

void Game::layOutAutomatically()
{
    if (m_phase != Phase::ChoosingWay && m_phase != Phase::AutoLayoutShown)
        return;
    m_layout.SetShips(false);
    m_phase = Phase::AutoLayoutShown;
    m_effects.mirror();
}

void Game::acceptLayout()
{
    if (m_phase != Phase::AutoLayoutShown)
        return;
    m_phase = Phase::ChoosingLevel;
    m_effects.mirror();
}

void Game::selectShip(int member)
{
    m_picker.select(member);
    m_effects.mirror();
}

void Game::setCtrl(bool held)
{
    m_bolCtrl = held;
}

void Game::pointerOverCell(int index)
{
    if (m_phase != Phase::PlacingByHand)
        return;
    m_intShipSize = m_picker.selectedSize();
    if (Field::sideOf(index) == Side::Comp)
        runPlacementTest(OffField, OffField, false);
    else
        runPlacementTest(Field::rowOf(index), Field::columnOf(index), false);
}

void Game::pointerOverBareWindow()
{
    for (int index = 0; index < 100; ++index) {
        if (m_board.state(index) == CellState::Empty && !m_board.hasFrame(index))
            m_board.setFrame(index, true);
    }
}

void Game::runPlacementTest(int row, int column, bool place)
{
    if (m_bolCtrl)
        DrawYG(m_board, m_intShipSize, row, column, place);
    else
        DrawYV(m_board, m_intShipSize, row, column, place);
}

void Game::pressCell(int index, bool leftButton)
{
    if (!leftButton)
        return;
    if (m_bolBattle && m_turn == Turn::Player)
        playerShot(index);
    else
        placeShip(index);
}

void Game::placeShip(int index)
{
    if (Field::sideOf(index) == Side::Comp)
        return;
    if (m_board.state(index) == CellState::Ship || m_board.hasFrame(index))
        return;
    // Only a cell the preview framed off gets here, so placing by hand is under way.
    const int row = Field::rowOf(index);
    const int column = Field::columnOf(index);
    runPlacementTest(row, column, true);
    if (m_arrPlayer.state(row, column) != CellState::Ship)
        return; // Ctrl changed since the last move and the ship does not fit the other way
    if (!m_picker.advance() && m_phase == Phase::PlacingByHand)
        m_phase = Phase::ChoosingLevel;
    m_effects.mirror();
}

void Game::chooseLevel(int member)
{
    if (m_phase != Phase::ChoosingLevel || member < 0 || member > 2)
        return;
    m_intLevel = member + 1;
    m_phase = Phase::Battle;
    m_bolBattle = true;
    m_turn = Turn::Player;
    m_effects.mirror();
}

void Game::setComputerTimer(bool on)
{
    m_computerTimerOn = on;
    m_effects.setComputerTimer(on);
}

void Game::playerShot(int index)
{
    if (Field::sideOf(index) != Side::Comp)
        return;
    const int row = Field::rowOf(index);
    const int column = Field::columnOf(index);
    m_effects.stopHitSound();
    const CellState state = m_board.state(index);
    if (isFiredAt(state)) {
        m_effects.showMessage(QStringLiteral("Уже попадали"));
        return;
    }
    if (state == CellState::Ship) {
        ++m_score.userHits;
        m_board.setFrame(index, false);
        m_board.setState(index, CellState::Hit);
        TestBoomFp(m_board, m_score, row, column);
        m_effects.mirror();
        m_effects.startHitSound();
        m_effects.drawBoom(index);
        m_effects.startBoomTimer();
        if (m_arrComp.count(CellState::Hit) == FleetCells) {
            // The row is stored before the message: whatever ends the program while
            // the box is open (a signal, a logout, a lost display) finds it saved.
            m_effects.stopHitSound();
            m_bolBattle = false;
            setComputerTimer(false);
            m_effects.mirror();
            m_effects.saveResult(QStringLiteral("Игрок"));
            m_effects.showMessage(QStringLiteral("Вы выиграли"));
        }
        // The player keeps the turn: the timer's next tick only switches it off.
        setComputerTimer(true);
        return;
    }
    ++m_score.userMisses;
    m_board.setState(index, CellState::Miss);
    m_board.setPicture(index, CellPicture::missMark());
    m_turn = Turn::Computer;
    m_effects.mirror();
    setComputerTimer(true);
}

void Game::computerTimerTick()
{
    // Only the computer's turn of a game still running has a move to make; any other
    // tick just ends the timer.
    if (m_turn != Turn::Computer || isOver()) {
        setComputerTimer(false);
        return;
    }
    m_effects.stopHitSound();
    CompAtack();
}

void Game::CompAtack()
{
    m_bolBattle = false;
    const ComputerTarget target = chooseTarget(m_board, m_intLevel, m_random);
    if (!target.isValid())
        return; // nothing left to fire at: the game is over already
    const int index = m_arrPlayer.index(target.row, target.column);
    if (!target.hit) {
        ++m_score.compMisses;
        m_board.setState(index, CellState::Miss);
        m_board.setPicture(index, CellPicture::missMark());
        m_turn = Turn::Player;
        m_bolBattle = true;
        setComputerTimer(false);
        m_effects.mirror();
    } else {
        ++m_score.compHits;
        m_board.setState(index, CellState::Hit);
        TestBoomFc(m_board, m_score, target.row, target.column);
        m_effects.mirror();
        m_effects.startHitSound();
        m_effects.drawBoom(index);
        m_effects.startBoomTimer();
        setComputerTimer(true);
    }
    if (m_arrPlayer.count(CellState::Hit) == FleetCells) {
        m_effects.stopHitSound();
        m_bolBattle = false;
        setComputerTimer(false);
        m_effects.mirror();
        m_effects.saveResult(QStringLiteral("Компьютер"));
        m_effects.showMessage(QStringLiteral("Вы проиграли"));
    }
}

void Game::newGame()
{
    m_score = Score {};
    m_effects.mirror();
    for (int index = 0; index < Board::CellCount; ++index) {
        m_board.setState(index, CellState::Empty);
        m_board.setPicture(index, CellPicture::none());
        m_board.setFrame(index, true);
    }
    m_effects.clearHitMarkers();
    m_picker.enableAll();
    m_turn = Turn::None;
    m_layout.SetShips(true);
    m_bolBattle = false;
    m_phase = Phase::ChoosingWay;
    m_effects.resetHitMarkerCount();
    setComputerTimer(false);
    m_effects.mirror();
}
