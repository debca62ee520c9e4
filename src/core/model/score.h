#pragma once

#include "model/fleet.h"

// The counters of the score panel. Hits and misses of each side, and the ships of
// each size (1 to 4) still afloat. A new game brings them back to their start.
struct Score
{
    int userHits = 0; // lblU
    int userMisses = 0; // lblFU
    int compHits = 0; // lblC
    int compMisses = 0; // lblFC
    Fleet::CountBySize compAfloat = Fleet::countBySize(); // lblU1..lblU4: the player's to sink
    Fleet::CountBySize playerAfloat = Fleet::countBySize(); // lblC1..lblC4: the computer's to sink

    bool operator==(const Score &) const = default;
};
