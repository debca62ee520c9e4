#include "battle/computeropponent.h"

#include "model/field.h"

namespace {

// A uniform generator finds an open cell within a few hundred draws even late in a game.
// Past this many the field is searched: with no open cell there is nothing to fire at.
constexpr int DrawsBeforeCheck = 1000;
// A broken generator that never finds the open cell gets the first in reading order.
constexpr int DrawLimit = 100000;

CellState stateAt(const Board &board, int row, int column)
{
    return board.state(Field::cellIndex(Side::Player, row, column));
}

ComputerTarget firstOpenCell(const Board &board)
{
    for (int row = 1; row <= Field::Size; ++row) {
        for (int column = 1; column <= Field::Size; ++column) {
            const CellState state = stateAt(board, row, column);
            if (!isFiredAt(state))
                return {row, column, state == CellState::Ship};
        }
    }
    return {};
}

} // namespace

ComputerTarget chooseTarget(const Board &board, int intLevel, RandomSource &random)
{
    random.reseedFromClock();
    ComputerTarget target;
    const int tries = intLevel < 1 ? 1 : intLevel;
    for (int attempt = 0; attempt < tries; ++attempt) {
        for (int draws = 1;; ++draws) {
            target.row = random.draw(10);
            target.column = random.draw(10);
            if (Field::contains(target.row, target.column)
                && !isFiredAt(stateAt(board, target.row, target.column)))
                break;
            if (draws == DrawsBeforeCheck && !firstOpenCell(board).isValid())
                return {};
            if (draws == DrawLimit) {
                target = firstOpenCell(board);
                break;
            }
        }
        if (stateAt(board, target.row, target.column) == CellState::Ship) {
            target.hit = true;
            return target;
        }
    }
    return target;
}
