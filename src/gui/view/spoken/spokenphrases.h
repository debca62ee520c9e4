#pragma once

#include "battle/game.h"

#include <QString>

// Whole phrases of the spoken news, made of SpokenWords; the words are in the same tables a
// translator works on.
namespace SpokenPhrases {

QString turnReturns(const QString &shot); // "И 10 мимо, ваш ход"
QString computerTurn(const QString &shots); // "Компьютер Г 6 ранил, И 10 мимо"
QString playerTurn(const QString &shots); // "Ваши выстрелы бэ 7 ранил, бэ 8 мимо"
QString battleOpens(bool withKeys); // "Ваш ход", the first time with the keys to know
QString state(const Game &game); // whose turn, the hits, the ships left on each side
QString score(const Score &score); // the score panel: hits and misses of each side
QString chosenShip(int size, bool horizontal); // "трёхпалубный вертикально"
QString preview(int from, int to); // "до бэ 10", or nothing for a ship of one cell
QString placed(int size, int from, int to); // "Поставлен трёхпалубный бэ 7, бэ 9"
QString fleetStands(); // the last ship placed
QString laidOutAgain(); // another automatic layout
QString phase(const Game &game); // outside the battle: what is being done now

} // namespace SpokenPhrases
