#include "battle/sinkresolver.h"

#include "model/field.h"
#include "model/fleet.h"

namespace {

SinkResult resolve(Field field, std::array<int, 5> &afloat, int x, int y)
{
    SinkResult result;
    // A cell off the field or not hit is no hit to resolve: marking around it would sink
    // a ship that was never there.
    if (!Field::contains(x, y) || field.state(x, y) != CellState::Hit)
        return result;

    int up = 0;
    int down = 0;
    int left = 0;
    int right = 0;
    // Four passes over the ring around the hits found so far. The ring widens while it is
    // walked, and each extent grows by at most one cell per pass, so four passes take in
    // a four-cell ship hit at one end and then walk the complete ring around it.
    for (int pass = 0; pass < 4; ++pass) {
        const int firstRow = x - 1 - up;
        const int lastRow = x + 1 + down;
        for (int i = firstRow; i <= lastRow; ++i) {
            const int firstColumn = y - 1 - left;
            const int lastColumn = y + 1 + right;
            for (int j = firstColumn; j <= lastColumn; ++j) {
                if (!Field::contains(i, j))
                    continue;
                const bool onEdge = i == x - 1 - up || i == x + 1 + down || j == y - 1 - left
                    || j == y + 1 + right;
                if (!onEdge)
                    continue;
                const CellState state = field.state(i, j);
                if (state == CellState::Ship)
                    return result;
                if (state == CellState::Hit) {
                    if (j > y)
                        ++right;
                    else if (j < y)
                        ++left;
                    if (i > x)
                        ++down;
                    else if (i < x)
                        ++up;
                }
            }
        }
    }

    result.sunk = true;
    for (int i = x - 1 - up; i <= x + 1 + down; ++i) {
        for (int j = y - 1 - left; j <= y + 1 + right; ++j) {
            if (!Field::contains(i, j) || field.state(i, j) == CellState::Hit)
                continue;
            field.setPicture(i, j, CellPicture::missMark());
            field.setState(i, j, CellState::Miss);
            result.ring.push_back(field.index(i, j));
        }
    }
    result.length = 1 + up + down + left + right;
    if (result.length >= 1 && result.length <= Fleet::LargestShip)
        --afloat[result.length];
    return result;
}

} // namespace

SinkResult TestBoomFp(Board &board, Score &score, int intX, int intY)
{
    return resolve(Field(board, Side::Comp), score.compAfloat, intX, intY);
}

SinkResult TestBoomFc(Board &board, Score &score, int intX, int intY)
{
    return resolve(Field(board, Side::Player), score.playerAfloat, intX, intY);
}
