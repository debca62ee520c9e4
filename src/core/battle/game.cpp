#include "battle/game.h"

#include "battle/computeropponent.h"
#include "model/fleet.h"
#include "placement/placementrule.h"

namespace {
// Beside the computer's field the placement test gets a cell outside the field,
// which only clears the preview.
constexpr int OffField = 11;
} // namespace

QString Game::levelName(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Легкий"));
    case 2:
        return QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Средний"));
    case 3:
        return QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Сложный"));
    }
    return QString();
}

Game::Game(RandomSource &random, QObject *parent)
    : QObject(parent), m_random(random), m_layout(m_board, random)
{ }

bool Game::isOver() const
{
    return m_playerField.count(CellState::Hit) == Fleet::Cells
        || m_computerField.count(CellState::Hit) == Fleet::Cells;
}

void Game::start()
{
    m_layout.SetShips(Side::Comp);
}

void Game::setPhase(Phase phase)
{
    m_phase = phase;
    emit changed();
}

void Game::placeByHand()
{
    if (m_phase == Phase::ChoosingWay)
        setPhase(Phase::PlacingByHand);
}

void Game::layOutAutomatically()
{
    if (m_phase != Phase::ChoosingWay && m_phase != Phase::AutoLayoutShown)
        return;
    m_layout.SetShips(Side::Player);
    setPhase(Phase::AutoLayoutShown);
}

void Game::acceptLayout()
{
    if (m_phase == Phase::AutoLayoutShown)
        setPhase(Phase::ChoosingLevel);
}

void Game::selectShip(int member)
{
    m_picker.select(member);
    emit changed();
}

void Game::setCtrl(bool held)
{
    m_ctrlHeld = held;
}

void Game::pointerOverCell(int index)
{
    if (m_phase != Phase::PlacingByHand)
        return;
    m_shipSize = m_picker.selectedSize();
    if (Field::sideOf(index) == Side::Comp)
        runPlacementTest(OffField, OffField, false);
    else
        runPlacementTest(Field::rowOf(index), Field::columnOf(index), false);
}

void Game::pointerOverBareWindow()
{
    clearPreview(m_board);
}

void Game::runPlacementTest(int row, int column, bool place)
{
    if (m_ctrlHeld)
        DrawYG(m_board, m_shipSize, row, column, place);
    else
        DrawYV(m_board, m_shipSize, row, column, place);
}

std::optional<Shot> Game::pressCell(int index, bool leftButton)
{
    if (!leftButton)
        return std::nullopt;
    if (!m_battle || m_turn != Turn::Player) {
        placeShip(index);
        return std::nullopt;
    }
    if (Field::sideOf(index) != Side::Comp)
        return std::nullopt;
    const Shot shot = fire(m_board, m_score, Side::Player, index);
    if (shot.result == Shot::Result::Miss)
        m_turn = Turn::Computer;
    if (shot.won)
        m_battle = false;
    report(shot, Turn::Player);
    return shot;
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
    if (m_playerField.state(row, column) != CellState::Ship)
        return; // Ctrl changed since the last move and the ship does not fit the other way
    if (!m_picker.advance() && m_phase == Phase::PlacingByHand)
        m_phase = Phase::ChoosingLevel;
    emit changed();
}

void Game::chooseLevel(int member)
{
    if (m_phase != Phase::ChoosingLevel || member < 0 || member >= LevelCount)
        return;
    m_level = member + 1;
    m_battle = true;
    m_turn = Turn::Player;
    setPhase(Phase::Battle);
    emit turnPassed(m_turn);
}

std::optional<Shot> Game::CompAtack()
{
    if (m_turn != Turn::Computer || isOver())
        return std::nullopt;
    m_battle = false;
    const ComputerTarget target = chooseTarget(m_board, m_level, m_random);
    if (!target.isValid())
        return std::nullopt; // nothing left to fire at: the game is over already
    const Shot shot
        = fire(m_board, m_score, Side::Comp, m_playerField.index(target.row, target.column));
    if (shot.result == Shot::Result::Miss) {
        m_turn = Turn::Player;
        m_battle = true;
    }
    report(shot, Turn::Computer);
    return shot;
}

// The board has changed already; the window hears of the new state first, then of the
// shot, then of what it led to.
void Game::report(const Shot &shot, Turn before)
{
    emit changed();
    emit shotResolved(shot);
    if (m_turn != before)
        emit turnPassed(m_turn);
    if (shot.won)
        emit gameEnded(shot.shooter);
}

void Game::newGame()
{
    m_score = Score {};
    for (int index = 0; index < Board::CellCount; ++index) {
        m_board.setState(index, CellState::Empty);
        m_board.setPicture(index, CellPicture::none());
        m_board.setFrame(index, true);
    }
    m_picker.enableAll();
    const Turn before = m_turn;
    m_turn = Turn::None;
    m_layout.SetShips(Side::Comp);
    m_battle = false;
    setPhase(Phase::ChoosingWay);
    if (before != Turn::None)
        emit turnPassed(m_turn);
}
