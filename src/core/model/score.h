#pragma once

#include <array>

// The counters of the score panel. Hits and misses of each side, and the ships of
// each size (1 to 4) still afloat. A new game brings them back to their start.
struct Score
{
    int userHits = 0; // lblU
    int userMisses = 0; // lblFU
    int compHits = 0; // lblC
    int compMisses = 0; // lblFC
    // Indexed by ship size 1..4; element 0 is unused.
    std::array<int, 5> compAfloat {0, 4, 3, 2, 1}; // lblU1..lblU4: what the player has to sink
    std::array<int, 5> playerAfloat {0, 4, 3, 2, 1}; // lblC1..lblC4: what the computer has to sink

    bool operator==(const Score &) const = default;
};
