#include "battle/shot.h"

#include "battle/sinkresolver.h"
#include "model/fleet.h"

Shot fire(Board &board, Score &score, Side shooter, int cell)
{
    Shot shot;
    shot.shooter = shooter;
    shot.cell = cell;
    const CellState state = board.state(cell);
    if (isFiredAt(state))
        return shot;
    const bool byPlayer = shooter == Side::Player;
    if (state != CellState::Ship) {
        ++(byPlayer ? score.userMisses : score.compMisses);
        board.setState(cell, CellState::Miss);
        board.setPicture(cell, CellPicture::missMark());
        shot.result = Shot::Result::Miss;
        return shot;
    }
    ++(byPlayer ? score.userHits : score.compHits);
    if (byPlayer)
        board.setFrame(cell, false);
    board.setState(cell, CellState::Hit);
    const int row = Field::rowOf(cell);
    const int column = Field::columnOf(cell);
    SinkResult sink
        = byPlayer ? TestBoomFp(board, score, row, column) : TestBoomFc(board, score, row, column);
    shot.result = sink.sunk ? Shot::Result::Sunk : Shot::Result::Hit;
    shot.length = sink.length;
    shot.ring = std::move(sink.ring);
    const Field target(board, byPlayer ? Side::Comp : Side::Player);
    shot.won = target.count(CellState::Hit) == Fleet::Cells;
    return shot;
}
