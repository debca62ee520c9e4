#pragma once

#include "model/board.h"
#include "model/score.h"

#include <vector>

// What one hit turned out to be. ring holds the board indices of the cells marked as
// misses around a sunk ship, in the order they were marked.
struct SinkResult
{
    bool sunk = false;
    int length = 0; // the sunk ship's cells; 0 when nothing was sunk
    std::vector<int> ring;
};

// Hit and sink resolution, called after every hit once the hit cell (intX = row,
// intY = column) is in state Hit. If no part of that ship is left in state Ship, every
// cell around it becomes a Miss with the miss picture and the owner's count of ships of
// its length goes down; otherwise nothing changes at all.
// TestBoomFp: the computer's field arrComp, lowers score.compAfloat (the player's shot).
// TestBoomFc: the player's field arrPlayer, lowers score.playerAfloat (the computer's move).
SinkResult TestBoomFp(Board &board, Score &score, int intX, int intY);
SinkResult TestBoomFc(Board &board, Score &score, int intX, int intY);
