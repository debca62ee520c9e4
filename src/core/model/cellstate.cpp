#include "model/cellstate.h"

QString stateCode(CellState state)
{
    switch (state) {
    case CellState::Empty:
        return QString();
    case CellState::Ship:
        return QStringLiteral("1");
    case CellState::Miss:
        return QStringLiteral("2");
    case CellState::Hit:
        return QStringLiteral("3");
    }
    return QString();
}
