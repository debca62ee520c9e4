#include "view/keys/keyanswers.h"

#include "battle/game.h"
#include "view/spoken/narrator.h"

#include <QKeyEvent>

namespace {
// Qt names a letter's key by its capital: "К" and "Ы" lie where R and S do on a Russian keyboard.
constexpr int RussianR = 0x041A;
constexpr int RussianS = 0x042B;

// Keys that change others, and Orca's own; Esc is the game's.
bool isModifier(int key)
{
    return (key >= Qt::Key_Shift && key <= Qt::Key_ScrollLock) || key == Qt::Key_Insert
        || key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_AltGr
        || key == Qt::Key_Escape || key == Qt::Key_unknown || key == 0;
}
} // namespace

bool KeyAnswers::spokenKey(const QKeyEvent &key)
{
    const int code = key.key();
    const bool repeat = code == Qt::Key_R || code == RussianR;
    const bool state = code == Qt::Key_S || code == RussianS;
    if ((!repeat && !state) || key.modifiers() & ~Qt::KeypadModifier)
        return false;
    if (key.isAutoRepeat())
        return true;
    if (repeat)
        m_narrator.repeat();
    else
        m_narrator.tellState();
    return true;
}

bool KeyAnswers::unusedKey(const QKeyEvent &key)
{
    if (isModifier(key.key()))
        return false;
    if (!key.isAutoRepeat())
        m_narrator.refuse(SpokenWords::Refusal::UnusedKey);
    return true;
}

bool KeyAnswers::refuseEnter(bool ownField)
{
    using Refusal = SpokenWords::Refusal;
    const Game::Phase phase = m_game.phase();
    if (phase == Game::Phase::Battle && m_game.isOver())
        m_narrator.refuse(Refusal::GameOver);
    else if (ownField && phase == Game::Phase::Battle)
        m_narrator.repeat(); // the player's own field is only read in the battle
    else if (ownField && phase != Game::Phase::PlacingByHand)
        m_narrator.refuse(Refusal::OnlyToRead);
    else if (!ownField && m_game.turn() != Game::Turn::Player)
        m_narrator.refuse(Refusal::ComputersTurn);
    else
        return false;
    return true;
}
