#pragma once

#include "battle/shot.h"
#include "model/board.h"
#include "model/field.h"
#include "model/fleetlayout.h"
#include "model/score.h"
#include "placement/shippicker.h"

#include <QObject>

#include <optional>

class RandomSource;

// The course of a game without widgets: placement, the level, the turns, the shots of
// both sides and a new game. The window forwards its events here. The game tells what
// happened through its signals and never what to show: the window mirrors the state on
// changed() and decides the sounds, timers and boxes that follow the other three.
class Game : public QObject
{
    Q_OBJECT
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

    static constexpr int LevelCount = 3;
    // The caption of a level (1 to 3), as on its button and in the results.
    static QString levelName(int level);

    explicit Game(RandomSource &random, QObject *parent = nullptr);

    Board &board() { return m_board; }
    const Board &board() const { return m_board; }
    const Field &playerField() const { return m_playerField; }
    const Field &computerField() const { return m_computerField; }
    const Score &score() const { return m_score; }
    const ShipPicker &picker() const { return m_picker; }
    Phase phase() const { return m_phase; }
    Turn turn() const { return m_turn; }
    // bolBattle: the battle runs and no move of the computer is under way. Set when the
    // level is chosen and at each miss of the computer; cleared at each move of the computer
    // (its first tick after the player's miss starts its run) and when the player wins. So
    // it is still true between the player's miss and the computer's first tick, and false
    // through the computer's run of hits. A press fires only with it and the player's turn;
    // the aim cursor shows over the computer's field while it is true.
    bool isBattle() const { return m_battle; }
    bool isCtrlHeld() const { return m_ctrlHeld; }
    int level() const { return m_level; }
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

    // A press on a cell: a shot in the player's turn, otherwise placement. Returns the
    // shot when one was fired.
    std::optional<Shot> pressCell(int index, bool leftButton);
    void chooseLevel(int member); // rbL(member)
    // One move of the computer; nothing when it is not the computer's turn in a game
    // still running.
    std::optional<Shot> CompAtack();
    // After the player confirmed "Начать заново ?".
    void newGame();

signals:
    // Counters, the turn, the phase or the picker changed. Sent before the events
    // below, so the window shows the new state before any message box they open.
    void changed();
    void shotResolved(const Shot &shot);
    void turnPassed(Game::Turn turn);
    void gameEnded(Side winner);

private:
    void placeShip(int index);
    void runPlacementTest(int row, int column, bool place);
    void report(const Shot &shot, Turn before);
    void setPhase(Phase phase);

    RandomSource &m_random;
    Board m_board;
    Field m_playerField {m_board, Side::Player};
    Field m_computerField {m_board, Side::Comp};
    FleetLayout m_layout;
    Score m_score;
    ShipPicker m_picker;
    Phase m_phase = Phase::ChoosingWay;
    Turn m_turn = Turn::None;
    bool m_battle = false; // see isBattle()
    bool m_ctrlHeld = false;
    int m_level = 0;
    int m_shipSize = 0;
};
