#include "store/resultrow.h"

QStringList ResultRow::columns() const
{
    return {winner == Winner::Player ? QStringLiteral("Игрок") : QStringLiteral("Компьютер"),
            QString::number(userHits), QString::number(compHits), level};
}
