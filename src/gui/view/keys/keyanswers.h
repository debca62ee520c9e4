#pragma once

class Game;
class Narrator;
class QKeyEvent;

// What the keys say rather than do: R the last turns again, S the state of the game (by the
// letter or by its place on a Russian keyboard), and why a key or Enter does nothing.
class KeyAnswers
{
public:
    KeyAnswers(const Game &game, Narrator &narrator) : m_game(game), m_narrator(narrator) { }

    // R or S: told; true when it was one of them.
    bool spokenKey(const QKeyEvent &key);
    // A key nothing took: says so, unless it changes other keys or is the screen reader's.
    // True when it was told.
    bool unusedKey(const QKeyEvent &key);
    // Enter on a field's cell that cannot act now: says why (or, on the player's field in the
    // battle, the last turns again) and returns true.
    bool refuseEnter(bool ownField);

private:
    const Game &m_game;
    Narrator &m_narrator;
};
