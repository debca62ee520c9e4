#pragma once

#include "battle/game.h"
#include "model/cellstate.h"
#include "model/fleet.h"

#include <QString>

// Every word the screen reader is given, in a few tables (spokenwords.cpp) a translator can
// work on. Written for the ear: no colons, dashes or other signs a voice reads aloud, "ё"
// where the word has it, and the column letters a voice misreads spelled as their names.
// What the window draws keeps its own spelling.
namespace SpokenWords {

// A word or phrase of the tables in the language the program speaks.
QString translated(const char *sourceText);

// What a key or a press could not do, and the words that say why.
enum class Refusal {
    UnusedKey, // a key the game has no use for
    ComputersTurn, // Enter on the computer's field while the computer moves
    GameOver, // Enter on a field once the game is over
    OnlyToRead, // Enter on the player's field once the fleet stands
    AlreadyFired, // a cell fired at before
    OffField, // the ship would run off the field
    TouchesShip, // the ship would touch or cross another
    NotYourField, // placing on the computer's field
};
QString refusal(Refusal reason);

// How a cell of a ship has fared: afloat, or its ship sunk; Ring: marked as water around a
// sunk ship.
enum class Fate { Plain, Sunk, Ring };

// "бэ 7": the cell's coordinate, column first, its letter as the voice should say it.
QString coordinate(int index);
// "бэ 7 мимо": the coordinate and what the player may know of the cell. The computer's ships
// are never told.
QString cell(int index, CellState state, Fate fate);
// "ваше поле", "поле противника".
QString field(int index);
// "бэ 7 ранил", "бэ 7 убил трёхпалубный": the outcome of the player's shot; of the
// computer's, "Г 6 ранен", "Г 6 убит двухпалубный".
QString shot(const Shot &shot);
QString turn(Game::Turn turn);
// The ship of that size: "трёхпалубный"; of more or none, counted: "трёхпалубных".
QString ship(int size, int count = 1);
// "1 четырёхпалубный, 2 трёхпалубных"; "кораблей нет" when none is left.
QString ships(const Fleet::CountBySize &count);

// Whole phrases (spokenphrases.cpp).
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
// The caption of a control as it is to be said: "Лёгкий" for "Легкий".
QString caption(const QString &drawn);
// A message's text as it is to be said: its lines as sentences, without the signs a voice
// would read aloud (quotes, the copyright sign), and without a first line that only repeats
// the box's title, said just before.
QString forEar(const QString &drawn, const QString &title = {});

} // namespace SpokenWords
