#include "placement/placementrule.h"

#include "model/field.h"

void clearPreview(Board &board)
{
    Field field(board, Side::Player);
    for (int row = 1; row <= Field::Size; ++row) {
        for (int column = 1; column <= Field::Size; ++column) {
            // A frame that is on is left alone: a view repaints on every notification.
            if (field.state(row, column) != CellState::Ship && !field.hasFrame(row, column))
                field.setFrame(row, column, true);
        }
    }
}

bool shipFits(const Board &board, int size, int r, int c, bool vertical)
{
    // The ship must end inside the field. Anything else off the field (row or column 11
    // while the pointer is over the computer's field) stops here as well.
    const int head = vertical ? r : c;
    if (head > 11 - size || size < 1 || !Field::contains(r, c))
        return false;

    // The ship's box widened by one cell on every side, across the ship outer and along
    // it inner; cells outside the field are skipped.
    for (int across = -1; across <= 1; ++across) {
        for (int along = -1; along <= size; ++along) {
            const int row = r + (vertical ? along : across);
            const int column = c + (vertical ? across : along);
            if (Field::contains(row, column)
                && board.state(Field::cellIndex(Side::Player, row, column)) != CellState::Empty)
                return false;
        }
    }
    return true;
}

namespace {

void drawY(Board &board, int size, int r, int c, bool bolPoss, bool vertical)
{
    clearPreview(board);
    if (!shipFits(board, size, r, c, vertical))
        return;
    Field field(board, Side::Player);

    for (int k = 0; k < size; ++k)
        field.setFrame(r + (vertical ? k : 0), c + (vertical ? 0 : k), false);

    if (!bolPoss)
        return;
    const int orientation = vertical ? Orientation::Vertical : Orientation::Horizontal;
    for (int k = 0; k < size; ++k) {
        const int row = r + (vertical ? k : 0);
        const int column = c + (vertical ? 0 : k);
        field.setState(row, column, CellState::Ship);
        field.setFrame(row, column, true);
        field.setPicture(row, column, CellPicture::shipPiece(k + 1, size, orientation));
    }
}

} // namespace

void DrawYV(Board &board, int size, int row, int column, bool bolPoss)
{
    drawY(board, size, row, column, bolPoss, true);
}

void DrawYG(Board &board, int size, int row, int column, bool bolPoss)
{
    drawY(board, size, row, column, bolPoss, false);
}
