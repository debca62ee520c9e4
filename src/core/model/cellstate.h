#pragma once

#include <QString>

// What a square of the sea holds. The rules compare the enum values; the short text
// codes (Empty "", Ship "1", Miss "2", Hit "3": a state's number, none for Empty) are
// only for writing a state out.
enum class CellState { Empty = 0, Ship = 1, Miss = 2, Hit = 3 };

QString stateCode(CellState state);

inline bool isFiredAt(CellState state)
{
    return state == CellState::Miss || state == CellState::Hit;
}
