#pragma once

#include "battle/game.h"
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
// The outcome of a shot in the words of the cells' names: "Б7: мимо", "Б7: попадание",
// "Б7: корабль потоплен"; the computer's shots begin with "Выстрел противника". Empty
// for a refused shot.
QString shot(const Shot &shot);
// The turn arrow's words: "Ваш ход", "Ход компьютера"; empty for no turn.
QString turn(Game::Turn turn);

} // namespace AccessibleNames
