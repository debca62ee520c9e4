#pragma once

#include "model/board.h"

// The placement test of placement by hand, on the player's field only (cells 0..99).
// DrawYV tests a vertical ship of `size` cells whose top end is cell (row, column); DrawYG
// a horizontal one whose left end is (row, column). Both first clear the old preview; if the ship
// fits inside the field without touching another ship, even at a corner, its cells lose
// their frames (the preview), and with bolPoss true the ship is also put down: state Ship,
// frame on and its picture piece, from the top or left end. Whether it came to stand shows
// in cell (row, column) afterwards, which is a Ship exactly then.
// A row or column of 11 (the pointer over the computer's field) only clears the preview.
void DrawYV(Board &board, int size, int row, int column, bool bolPoss);
void DrawYG(Board &board, int size, int row, int column, bool bolPoss);

// The test itself: whether a ship of `size` cells from (row, column) lies inside the player's
// field and touches no other ship, even at a corner.
bool shipFits(const Board &board, int size, int row, int column, bool vertical);

// Takes the preview away: every cell of the player's field not holding a ship gets its frame
// back.
void clearPreview(Board &board);
