#pragma once

#include <Qt>

#include <algorithm>

// The keyboard's cell on one field of ten by ten cells. The arrow keys move it by one
// cell; at the field's edges it stays where it is, so a key held down stops at the edge
// instead of wrapping to the other side.
class FieldCursor
{
public:
    // firstCell: the board index of the field's top-left cell, 0 or 100.
    explicit FieldCursor(int firstCell) : m_first(firstCell) { }

    int cell() const { return m_first + (m_row - 1) * 10 + (m_column - 1); }
    // One cell in the direction of an arrow key (Qt::Key_Left...). False for any other
    // key; true for an arrow key also when the edge keeps the cursor in place.
    bool move(int key)
    {
        const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
        if (!across && key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
        const int step = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
        int &coordinate = across ? m_column : m_row;
        coordinate = std::clamp(coordinate + step, 1, 10);
        return true;
    }

private:
    int m_first;
    int m_row = 1;
    int m_column = 1;
};
