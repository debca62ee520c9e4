#pragma once

#include "model/board.h"
#include "model/randomsource.h"

// The cell the computer fires at in one move. row 0 means there was nothing left to
// fire at.
struct ComputerTarget
{
    int row = 0;
    int column = 0;
    bool hit = false; // the cell holds a ship part

    bool isValid() const { return row != 0; }
};

// The computer's choice of target on the player's field arrPlayer. It has no tactics:
// it reseeds from the clock, then looks at up to intLevel random cells not fired at
// (drawing row then column, again while the cell is a Hit or a Miss) and fires at the
// first that holds a ship part, or else at the last one it looked at. The board is only
// read; the caller fires.
ComputerTarget chooseTarget(const Board &board, int intLevel, RandomSource &random);
