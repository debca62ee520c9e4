#include "model/field.h"

int Field::count(CellState state) const
{
    int n = 0;
    for (int row = 1; row <= Size; ++row)
        for (int column = 1; column <= Size; ++column)
            n += this->state(row, column) == state;
    return n;
}
