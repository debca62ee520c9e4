#pragma once

#include "model/board.h"
#include "model/celldraw.h"
#include "model/field.h"
#include "model/randomsource.h"

// The automatic layout of a whole fleet: the computer's at every game, the player's when
// the player asks for one. SetShips lays the fleet ship by ship; SetShipsV and SetShipsG
// lay one ship of intS cells vertically or horizontally at a random free position.
// The side whose field is laid out: the player's ships are drawn with their pictures,
// the computer's are written as states only.
//
// Every change goes through the board in the order a view should replay it. The
// computer's field must hold no Ship, Miss or Hit cell when its fleet is laid out;
// the player's field is cleared here.
class FleetLayout
{
public:
    FleetLayout(Board &board, RandomSource &random);

    void SetShips(Side side);
    // Lay nothing when no start position in this orientation passes the free-space test,
    // or when intS is not a size of the fleet (1 to 4).
    void SetShipsV(int intS, Side side);
    void SetShipsG(int intS, Side side);

    // How many times a layout was begun afresh because a ship found no room (the layout
    // benchmark reports it).
    int restartCount() const { return m_restarts; }

private:
    bool layShip(int size, int orientation, Side side);
    bool fits(const Field &field, FieldCell start, int size, bool vertical) const;
    void place(Field &field, FieldCell start, int size, bool vertical, bool drawn);
    void clearPlayerField();
    void clearShips(Field &field);
    void layFixedFleet(Side side);

    Board &m_board;
    RandomSource &m_random;
    int m_restarts = 0;
};
