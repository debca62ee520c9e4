#pragma once

#include <QString>
#include <QStringView>

// What a square of the sea holds. The game compares the states by their text
// codes: Empty "", Ship "1", Miss "2", Hit "3".
enum class CellState { Empty, Ship, Miss, Hit };

QString stateCode(CellState state);
// Any text other than the four codes reads as Empty.
CellState stateFromCode(QStringView code);

inline bool isFiredAt(CellState state)
{
    return state == CellState::Miss || state == CellState::Hit;
}
