#include "store/resultrow.h"

QStringList ResultRow::columns() const
{
    return {winner == Winner::Player
                ? QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Игрок"))
                : QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Компьютер")),
            QString::number(userHits), QString::number(compHits), level};
}
