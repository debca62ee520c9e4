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

CellState stateFromCode(QStringView code)
{
    if (code == u"1")
        return CellState::Ship;
    if (code == u"2")
        return CellState::Miss;
    if (code == u"3")
        return CellState::Hit;
    return CellState::Empty;
}
