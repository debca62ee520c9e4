#pragma once

#include "model/board.h"
#include "model/field.h"
#include "model/score.h"

#include <vector>

// What one shot did, either side's. When it is returned the board and the score have
// changed already; the window turns it into pictures, sounds and messages.
struct Shot
{
    enum class Result {
        Refused, // the cell was fired at before: nothing changed
        Miss,
        Hit,
        Sunk, // a hit that sank the ship; ring holds the cells marked around it
    };

    Side shooter = Side::Player;
    Result result = Result::Refused;
    int cell = -1; // the board index fired at
    int length = 0; // Sunk: the ship's number of cells
    std::vector<int> ring; // Sunk: the cells marked as misses, in the order they were marked
    bool won = false; // this hit was the shooter's twentieth

    bool isHit() const { return result == Result::Hit || result == Result::Sunk; }
};

// Resolves a shot at one cell of the opponent's field: counts the hit or the miss,
// marks the cell, has a sinking resolved (TestBoomFp or TestBoomFc) and tells whether
// the fleet is now gone. Only the player's hit loses its frame; a miss shows the miss
// mark; a cell fired at before is refused.
Shot fire(Board &board, Score &score, Side shooter, int cell);
