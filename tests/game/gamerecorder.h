#pragma once

#include "battle/game.h"

#include <QStringList>

#include <functional>

// Records the game's events, one line each, in order: "shot Hit 100", "turn Computer",
// "end Player". "changed" is left out, as the window may mirror as often as it likes.
class GameRecorder
{
public:
    QStringList events;
    int ends = 0;
    std::function<void()> whileEnding; // runs as the end message would be open

    explicit GameRecorder(Game &game)
    {
        QObject::connect(&game, &Game::shotResolved, [this](const Shot &shot) {
            static const char *const results[] = {"Refused", "Miss", "Hit", "Sunk"};
            events << QStringLiteral("shot %1 %2").arg(results[int(shot.result)]).arg(shot.cell);
        });
        QObject::connect(&game, &Game::turnPassed, [this](Game::Turn turn) {
            static const char *const turns[] = {"None", "Player", "Computer"};
            events << QStringLiteral("turn ") + turns[int(turn)];
        });
        QObject::connect(&game, &Game::gameEnded, [this](Side winner) {
            ++ends;
            events << (winner == Side::Player ? QStringLiteral("end Player")
                                              : QStringLiteral("end Computer"));
            if (whileEnding)
                whileEnding();
        });
    }
};
