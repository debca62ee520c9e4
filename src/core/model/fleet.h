#pragma once

#include <array>

// The fleet each side lays out: one ship of four cells, two of three, three of two and four of
// one. The automatic layout lays them in this order, and the ship picker's members stand for
// them in this order.
namespace Fleet {

constexpr int LargestShip = 4;
constexpr std::array<int, 10> Sizes {4, 3, 3, 2, 2, 2, 1, 1, 1, 1};
constexpr int ShipCount = int(Sizes.size());

// Ships counted by size: element s for the ships of s cells, 1 .. LargestShip; 0 is unused.
using CountBySize = std::array<int, LargestShip + 1>;

constexpr CountBySize countBySize()
{
    CountBySize count {};
    for (int size : Sizes)
        ++count[size];
    return count;
}

// The cells the whole fleet takes: the hits that win.
constexpr int Cells = [] {
    int cells = 0;
    for (int size : Sizes)
        cells += size;
    return cells;
}();

} // namespace Fleet
