#include "model/cellstate.h"

QString stateCode(CellState state)
{
    return state == CellState::Empty ? QString() : QString::number(int(state));
}
