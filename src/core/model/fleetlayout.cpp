#include "model/fleetlayout.h"

#include "model/fleet.h"

#include <array>

namespace {

// A normal layout needs at most a few hundred redraws for one ship. Past this many the
// field is searched for a legal start at all: with this fleet, this order and these
// ranges, about one layout in fifty thousand draws an orientation that leaves none.
constexpr int ShipDrawsBeforeCheck = 1000;
// A start is known to exist, so a uniform generator finds it long before this (the odds
// of missing a single free start so often are below 1e-40); a broken generator that
// never does gets the first free start in reading order instead of hanging the game.
constexpr int ShipDrawLimit = 10000;
// Only a generator that repeats itself (a clock that stands still) keeps running into
// dead ends; after this many fresh starts a fixed legal fleet ends the layout.
constexpr int AttemptLimit = 1000;

// Horizontal, in fleet order, inside the ranges of the random starts.
constexpr std::array<FieldCell, Fleet::ShipCount> FixedFleet {
    {{1, 1}, {1, 6}, {3, 1}, {3, 5}, {3, 8}, {5, 1}, {5, 4}, {5, 6}, {5, 8}, {7, 1}}};

} // namespace

FleetLayout::FleetLayout(Board &board, RandomSource &random) : m_board(board), m_random(random) { }

void FleetLayout::SetShips(Side side)
{
    Field comp(m_board, Side::Comp);
    for (int attempt = 0; attempt < AttemptLimit; ++attempt) {
        if (attempt > 0) {
            ++m_restarts;
            // The player's field is cleared below; the computer's only ever holds this
            // layout's own ships here.
            if (side == Side::Comp)
                clearShips(comp);
        }
        clearPlayerField();
        m_random.reseedFromClock();
        bool complete = true;
        for (int size : Fleet::Sizes) {
            const int o = m_random.draw(2);
            if (!layShip(size, o == 1 ? Orientation::Horizontal : Orientation::Vertical, side)) {
                complete = false;
                break;
            }
        }
        if (complete)
            return;
    }
    layFixedFleet(side);
}

void FleetLayout::SetShipsV(int intS, Side side)
{
    layShip(intS, Orientation::Vertical, side);
}

void FleetLayout::SetShipsG(int intS, Side side)
{
    layShip(intS, Orientation::Horizontal, side);
}

bool FleetLayout::layShip(int size, int orientation, Side side)
{
    if (size < 1 || size > Fleet::LargestShip)
        return false;
    Field field(m_board, side);
    const bool vertical = orientation == Orientation::Vertical;
    m_random.reseedFromClock();
    // Along the ship the range ends one cell short, so a vertical ship never reaches row 10
    // nor a horizontal one column 10.
    const std::optional<FieldCell> start = drawFittingCell(
        m_random, vertical ? 10 - size : 10, vertical ? 10 : 10 - size, ShipDrawsBeforeCheck,
        ShipDrawLimit, [&](FieldCell cell) { return fits(field, cell, size, vertical); });
    if (!start)
        return false;
    place(field, *start, size, vertical, side == Side::Player);
    return true;
}

bool FleetLayout::fits(const Field &field, FieldCell start, int size, bool vertical) const
{
    // A draw outside its range can only come from a generator that breaks [0, 1).
    const int rowSpan = vertical ? 10 - size : 10;
    const int columnSpan = vertical ? 10 : 10 - size;
    if (start.row < 1 || start.row > rowSpan || start.column < 1 || start.column > columnSpan)
        return false;
    const int lastRow = start.row + (vertical ? size : 1);
    const int lastColumn = start.column + (vertical ? 1 : size);
    for (int row = start.row - 1; row <= lastRow; ++row) {
        for (int column = start.column - 1; column <= lastColumn; ++column) {
            if (Field::contains(row, column) && field.state(row, column) != CellState::Empty)
                return false;
        }
    }
    return true;
}

void FleetLayout::place(Field &field, FieldCell start, int size, bool vertical, bool drawn)
{
    const int orientation = vertical ? Orientation::Vertical : Orientation::Horizontal;
    for (int k = 0; k < size; ++k) {
        const int row = start.row + (vertical ? k : 0);
        const int column = start.column + (vertical ? 0 : k);
        field.setState(row, column, CellState::Ship);
        if (drawn)
            field.setPicture(row, column, CellPicture::shipPiece(k + 1, size, orientation));
    }
}

void FleetLayout::clearPlayerField()
{
    Field player(m_board, Side::Player);
    for (int row = 1; row <= Field::Size; ++row) {
        for (int column = 1; column <= Field::Size; ++column) {
            player.setState(row, column, CellState::Empty);
            player.setPicture(row, column, CellPicture::none());
        }
    }
}

void FleetLayout::clearShips(Field &field)
{
    for (int row = 1; row <= Field::Size; ++row) {
        for (int column = 1; column <= Field::Size; ++column) {
            if (field.state(row, column) == CellState::Ship)
                field.setState(row, column, CellState::Empty);
        }
    }
}

void FleetLayout::layFixedFleet(Side side)
{
    Field field(m_board, side);
    clearShips(field);
    clearPlayerField();
    for (std::size_t i = 0; i < Fleet::Sizes.size(); ++i)
        place(field, FixedFleet[i], Fleet::Sizes[i], false, side == Side::Player);
}
