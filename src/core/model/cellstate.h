#pragma once

// What a square of the sea holds; the numbers are the states' codes Ship "1", Miss "2", Hit "3".
enum class CellState { Empty = 0, Ship = 1, Miss = 2, Hit = 3 };

inline bool isFiredAt(CellState state)
{
    return state == CellState::Miss || state == CellState::Hit;
}
