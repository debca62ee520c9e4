#include "battle/computeropponent.h"

#include "model/celldraw.h"
#include "model/field.h"

namespace {

// A uniform generator finds an open cell within a few hundred draws even late in a game.
// Past this many the field is searched: with no open cell there is nothing to fire at.
constexpr int ShotDrawsBeforeCheck = 1000;
// A broken generator that never finds the open cell gets the first in reading order.
constexpr int ShotDrawLimit = 100000;

CellState stateAt(const Board &board, FieldCell cell)
{
    return board.state(Field::cellIndex(Side::Player, cell.row, cell.column));
}

} // namespace

ComputerTarget chooseTarget(const Board &board, int intLevel, RandomSource &random)
{
    random.reseedFromClock();
    const auto open = [&board](FieldCell cell) {
        return Field::contains(cell.row, cell.column) && !isFiredAt(stateAt(board, cell));
    };
    ComputerTarget target;
    const int tries = intLevel < 1 ? 1 : intLevel;
    for (int attempt = 0; attempt < tries; ++attempt) {
        const std::optional<FieldCell> cell = drawFittingCell(
            random, Field::Size, Field::Size, ShotDrawsBeforeCheck, ShotDrawLimit, open);
        if (!cell)
            return {};
        target = {cell->row, cell->column, stateAt(board, *cell) == CellState::Ship};
        if (target.hit)
            return target;
    }
    return target;
}
