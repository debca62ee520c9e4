#pragma once

#include "model/cellpicture.h"
#include "model/cellstate.h"

#include <array>

// Told of every change to a cell, at once and in the order the changes are made,
// so that a view can mirror the board step by step.
class BoardObserver
{
public:
    enum class Aspect { State, Frame, Picture };
    virtual ~BoardObserver() = default;
    virtual void cellChanged(int index, Aspect aspect) = 0;
};

// The 200 cells of both fields: 0..99 the player's field, 100..199 the computer's.
// Each cell holds a state, a frame (the thin border that also marks the placement
// preview) and a picture.
class Board
{
public:
    static constexpr int CellCount = 200;

    CellState state(int index) const { return m_cells[index].state; }
    bool hasFrame(int index) const { return m_cells[index].frame; }
    CellPicture picture(int index) const { return m_cells[index].picture; }

    void setState(int index, CellState state);
    void setFrame(int index, bool on);
    void setPicture(int index, const CellPicture &picture);

    // The observer is not owned; nullptr detaches it.
    void setObserver(BoardObserver *observer) { m_observer = observer; }

private:
    struct Cell
    {
        CellState state = CellState::Empty;
        bool frame = true;
        CellPicture picture;
    };

    void notify(int index, BoardObserver::Aspect aspect)
    {
        if (m_observer)
            m_observer->cellChanged(index, aspect);
    }

    std::array<Cell, CellCount> m_cells {};
    BoardObserver *m_observer = nullptr;
};
