#pragma once

#include "model/board.h"

enum class Side { Player, Comp };

// One 10 x 10 field over the board's cells, addressed (row, column) from 1 to 10,
// row first. arrPlayer is the player's field (cells 0..99), arrComp the computer's
// (cells 100..199).
class Field
{
public:
    static constexpr int Size = 10;

    Field(Board &board, Side side) : m_board(&board), m_side(side) { }

    static int cellIndex(Side side, int row, int column)
    {
        return (side == Side::Comp ? 100 : 0) + (row - 1) * Size + (column - 1);
    }
    static Side sideOf(int index) { return index < 100 ? Side::Player : Side::Comp; }
    static int rowOf(int index) { return (index % 100) / Size + 1; }
    static int columnOf(int index) { return index % Size + 1; }
    static bool contains(int row, int column)
    {
        return row >= 1 && row <= Size && column >= 1 && column <= Size;
    }

    int index(int row, int column) const { return cellIndex(m_side, row, column); }

    CellState state(int row, int column) const { return m_board->state(index(row, column)); }
    void setState(int row, int column, CellState state)
    {
        m_board->setState(index(row, column), state);
    }
    bool hasFrame(int row, int column) const { return m_board->hasFrame(index(row, column)); }
    void setFrame(int row, int column, bool on) { m_board->setFrame(index(row, column), on); }
    void setPicture(int row, int column, const CellPicture &picture)
    {
        m_board->setPicture(index(row, column), picture);
    }

    int count(CellState state) const;

private:
    Board *m_board;
    Side m_side;
};
