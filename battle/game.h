#pragma once

#include "battle/gameeffects.h"
#include "model/board.h"
#include "model/field.h"
#include "model/fleetlayout.h"
#include "model/score.h"
#include "placement/shippicker.h"

class RandomSource;

// The course of a game without widgets: placement, the level, the turns, the shots of
// both sides and a new game. The window forwards its events here and mirrors the
// state; what must be shown, heard or stored goes out through GameEffects.
class Game
{
public:
    // The phase is read off the visible controls in the window; here it is one value.
    enum class Phase {
        ChoosingWay, // lblSetAuto "Расставить автоматически", lblSetY
        PlacingByHand, // the picker rb and lblHelp
        AutoLayoutShown, // lblSetAuto "Поменять расстановку", lblAgree
        ChoosingLevel, // the level buttons rbL
        Battle, // cmdNewGame; the turn arrows tell whose turn it is; also once finished
    };
    // Whose turn arrow is shown: RightL for the player, LeftL for the computer.
    enum class Turn { None, Player, Computer };

    static constexpr int FleetCells = 20;

    Game(GameEffects &effects, RandomSource &random);

    Board &board() { return m_board; }
    const Board &board() const { return m_board; }
    Field &arrPlayer() { return m_arrPlayer; }
    Field &arrComp() { return m_arrComp; }
    const Score &score() const { return m_score; }
    const ShipPicker &picker() const { return m_picker; }
    Phase phase() const { return m_phase; }
    Turn turn() const { return m_turn; }
    bool bolBattle() const { return m_bolBattle; }
    bool bolCtrl() const { return m_bolCtrl; }
    int intLevel() const { return m_intLevel; }
    int intShipSize() const { return m_intShipSize; }
    bool isComputerTimerOn() const { return m_computerTimerOn; }
    bool isOver() const;

    // Start-up: the computer's fleet, unseen.
    void start();

    // Placement.
    void placeByHand(); // lblSetY
    void layOutAutomatically(); // lblSetAuto, also every roll again
    void acceptLayout(); // lblAgree
    void selectShip(int member); // a click on a picker member
    void setCtrl(bool held); // Ctrl down / up: horizontal while held
    void pointerOverCell(int index); // the placement preview
    void pointerOverBareWindow(); // clears the preview

    // A press on a cell: a shot in the player's turn, otherwise placement.
    void pressCell(int index, bool leftButton);

    void chooseLevel(int member); // rbL(member)
    void computerTimerTick(); // tmrI
    void CompAtack();
    // After the player confirmed "Начать заново ?".
    void newGame();

private:
    void playerShot(int index);
    void placeShip(int index);
    void runPlacementTest(int row, int column, bool place);
    void setComputerTimer(bool on);

    GameEffects &m_effects;
    RandomSource &m_random;
    Board m_board;
    Field m_arrPlayer {m_board, Side::Player};
    Field m_arrComp {m_board, Side::Comp};
    FleetLayout m_layout;
    Score m_score;
    ShipPicker m_picker;
    Phase m_phase = Phase::ChoosingWay;
    Turn m_turn = Turn::None;
    bool m_bolBattle = false;
    bool m_bolCtrl = false;
    int m_intLevel = 0;
    int m_intShipSize = 0;
    bool m_computerTimerOn = false;
};
