#include "model/board.h"

void Board::setState(int index, CellState state)
{
    m_cells[index].state = state;
    notify(index, BoardObserver::Aspect::State);
}

void Board::setFrame(int index, bool on)
{
    m_cells[index].frame = on;
    notify(index, BoardObserver::Aspect::Frame);
}

void Board::setPicture(int index, const CellPicture &picture)
{
    m_cells[index].picture = picture;
    notify(index, BoardObserver::Aspect::Picture);
}
