#pragma once

#include <QString>
#include <QStringList>

// A finished game as the results keep it: who won, each side's hits and the level played.
struct ResultRow
{
    enum class Winner { Player, Computer };

    Winner winner = Winner::Player;
    int userHits = 0;
    int compHits = 0;
    QString level; // the level's caption: "Легкий", "Средний" or "Сложный"

    // The four values of a row of tBase, in its column order.
    QStringList columns() const
    {
        return {winner == Winner::Player
                    ? QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Игрок"))
                    : QStringLiteral(QT_TRANSLATE_NOOP("StoredWords", "Компьютер")),
                QString::number(userHits), QString::number(compHits), level};
    }
};
