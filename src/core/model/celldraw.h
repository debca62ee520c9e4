#pragma once

#include "model/field.h"
#include "model/randomsource.h"

#include <optional>

// A cell of one field: row and column from 1 to 10.
struct FieldCell
{
    int row = 0;
    int column = 0;
};

// The first cell of the field, in reading order, that `fits` takes.
template<typename Fits> std::optional<FieldCell> firstFittingCell(const Fits &fits)
{
    for (int row = 1; row <= Field::Size; ++row) {
        for (int column = 1; column <= Field::Size; ++column) {
            if (fits(FieldCell {row, column}))
                return FieldCell {row, column};
        }
    }
    return std::nullopt;
}

// Draws cells, the row from 1 to `rows` first and then the column from 1 to `columns`, until
// `fits` takes one: the way the computer and the automatic layout choose at random. A uniform
// generator finds a fitting cell within a few hundred draws; after `checkAfter` draws the field is
// searched, and with no fitting cell at all there is nothing. A broken generator that never
// draws the fitting cell gets the first in reading order after `giveUpAfter` draws instead of
// hanging the game.
template<typename Fits>
std::optional<FieldCell> drawFittingCell(RandomSource &random, int rows, int columns,
                                         int checkAfter, int giveUpAfter, const Fits &fits)
{
    for (int draws = 1;; ++draws) {
        FieldCell cell;
        cell.row = random.draw(rows);
        cell.column = random.draw(columns);
        if (fits(cell))
            return cell;
        if (draws == checkAfter && !firstFittingCell(fits))
            return std::nullopt;
        if (draws == giveUpAfter)
            return firstFittingCell(fits);
    }
}
