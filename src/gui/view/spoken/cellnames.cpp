#include "view/spoken/cellnames.h"

#include "view/spoken/spokenwords.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

CellNames::CellNames(const Game &game, std::function<QWidget *(int)> cell, QObject *parent)
    : QObject(parent), m_game(game), m_cell(std::move(cell))
{
    connect(&game, &Game::changed, this, &CellNames::rename);
    connect(&game, &Game::shotResolved, this, &CellNames::noteShot);
    // The focused cell keeps its old name until the focus leaves it: Orca says a new name of
    // the focused object at once, which would be the news said twice.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        if (old && m_stale >= 0 && m_cell(m_stale) == old)
            rename();
    });
    rename();
}

QList<int> CellNames::shipAt(const Board &board, int index)
{
    const auto isShip = [&board](int cell) {
        return board.state(cell) == CellState::Ship || board.state(cell) == CellState::Hit;
    };
    QList<int> ship;
    if (!isShip(index))
        return ship;
    // Ships are straight and never touch: the ship is what joins the cell side by side.
    QList<int> todo {index};
    while (!todo.isEmpty()) {
        const int cell = todo.takeLast();
        if (ship.contains(cell) || !isShip(cell))
            continue;
        ship << cell;
        const int row = Field::rowOf(cell), column = Field::columnOf(cell);
        const Side side = Field::sideOf(cell);
        for (const auto &[dr, dc] :
             {std::pair(0, 1), std::pair(1, 0), std::pair(0, -1), std::pair(-1, 0)}) {
            if (Field::contains(row + dr, column + dc))
                todo << Field::cellIndex(side, row + dr, column + dc);
        }
    }
    std::sort(ship.begin(), ship.end());
    return ship;
}

void CellNames::noteShot(const Shot &shot)
{
    for (int cell : shot.ring)
        m_ring.insert(cell);
    rename();
}

void CellNames::rename()
{
    m_stale = -1;
    const Board &board = m_game.board();
    for (int index = 0; index < Board::CellCount; ++index) {
        const CellState state = board.state(index);
        auto fate = SpokenWords::Fate::Plain;
        if (state == CellState::Miss && m_ring.contains(index)) {
            fate = SpokenWords::Fate::Ring;
        } else if (state == CellState::Hit) {
            const QList<int> ship = shipAt(board, index);
            const bool afloat = std::any_of(ship.begin(), ship.end(), [&board](int cell) {
                return board.state(cell) == CellState::Ship;
            });
            fate = afloat ? fate : SpokenWords::Fate::Sunk;
        } else if (state != CellState::Miss) {
            m_ring.remove(index); // a new game
        }
        const QString name = SpokenWords::cell(index, state, fate);
        QWidget *cell = m_cell(index);
        if (!cell || cell->accessibleName() == name)
            continue;
        if (cell->hasFocus())
            m_stale = index;
        else
            cell->setAccessibleName(name);
    }
}
