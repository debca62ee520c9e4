#pragma once

#include "model/cellstate.h"

#include <QString>

// What a screen reader says of the window's parts, in Russian.
namespace AccessibleNames {

// "А" .. "К" for columns 1..10: the first ten letters of the alphabet without "Й".
QString columnLetter(int column);
// "Б7: мимо": the cell's coordinate and what the player may know of it. The
// computer's ships are never told.
QString cell(int index, CellState state);
// "ваше поле" or "поле противника".
QString field(int index);

} // namespace AccessibleNames
