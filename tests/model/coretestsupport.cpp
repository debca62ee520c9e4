#include "coretestsupport.h"

#include "model/fleet.h"

#include <array>
#include <functional>

ClockSeededRandom seededRandom(quint64 seed)
{
    return ClockSeededRandom([next = seed * 1000003]() mutable { return next++; });
}

ScriptedRandom::ScriptedRandom(QList<double> script, quint64 seed)
    : m_script(std::move(script)), m_rest(seededRandom(seed))
{ }

void ScriptedRandom::reseedFromClock()
{
    m_trace += u'r';
    m_rest.reseedFromClock();
}

double ScriptedRandom::next()
{
    m_trace += u'd';
    const int i = m_consumed++;
    return i < m_script.size() ? m_script[i] : m_rest.next();
}

QList<double> shipDraws(int size, bool vertical, int row, int column)
{
    const double o = vertical ? 0.75 : 0.25;
    if (vertical)
        return {o, drawFor(row, 10 - size), drawFor(column, 10)};
    return {o, drawFor(row, 10), drawFor(column, 10 - size)};
}

QList<ShipRun> shipsOf(const Board &board, Side side)
{
    const auto isPart = [&](int row, int column) {
        if (!Field::contains(row, column))
            return false;
        const CellState s = board.state(Field::cellIndex(side, row, column));
        return s == CellState::Ship || s == CellState::Hit;
    };
    std::array<bool, 100> seen {};
    QList<ShipRun> ships;
    for (int row = 1; row <= 10; ++row) {
        for (int column = 1; column <= 10; ++column) {
            if (!isPart(row, column) || seen[(row - 1) * 10 + column - 1])
                continue;
            QList<int> group;
            std::function<void(int, int)> visit = [&](int r, int c) {
                if (!isPart(r, c) || seen[(r - 1) * 10 + c - 1])
                    return;
                seen[(r - 1) * 10 + c - 1] = true;
                group.append(Field::cellIndex(side, r, c));
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc)
                        visit(r + dr, c + dc);
            };
            visit(row, column);
            std::sort(group.begin(), group.end());
            ShipRun ship;
            ship.cells = group;
            ship.vertical
                = group.size() > 1 && Field::columnOf(group[0]) == Field::columnOf(group[1]);
            ships.append(ship);
        }
    }
    return ships;
}

QString fleetProblem(const Board &board, Side side, bool drawn, bool randomRanges)
{
    std::array<int, 5> count {};
    for (const ShipRun &ship : shipsOf(board, side)) {
        const int size = int(ship.cells.size());
        const int head = ship.cells.first();
        const int step = ship.vertical ? 10 : 1;
        for (int k = 0; k < size; ++k) {
            const int cell = ship.cells[k];
            if (cell != head + k * step
                || (!ship.vertical && Field::rowOf(cell) != Field::rowOf(head)))
                return QStringLiteral("not a straight ship at cell %1").arg(head);
        }
        if (size > 4)
            return QStringLiteral("a ship of %1 cells at cell %2").arg(size).arg(head);
        ++count[size];
        const int lastRow = Field::rowOf(ship.cells.last());
        const int lastColumn = Field::columnOf(ship.cells.last());
        bool vertical = ship.vertical;
        if (drawn) {
            for (int k = 0; k < size; ++k) {
                const CellPicture p = board.picture(ship.cells[k]);
                if (p.kind != CellPicture::Kind::ShipPiece || p.piece != k + 1 || p.size != size)
                    return QStringLiteral("wrong piece at cell %1").arg(ship.cells[k]);
                if (size > 1
                    && p.orientation
                        != (ship.vertical ? Orientation::Vertical : Orientation::Horizontal))
                    return QStringLiteral("wrong orientation at cell %1").arg(ship.cells[k]);
            }
            vertical = board.picture(head).orientation == Orientation::Vertical;
        }
        // A single cell on the computer's field shows no orientation; only the corner
        // cell is out of reach of both.
        const bool known = drawn || size > 1;
        if (randomRanges && known && vertical && lastRow == 10)
            return QStringLiteral("a vertical ship in row 10 at cell %1").arg(head);
        if (randomRanges && known && !vertical && lastColumn == 10)
            return QStringLiteral("a horizontal ship in column 10 at cell %1").arg(head);
        if (randomRanges && lastRow == 10 && lastColumn == 10)
            return QStringLiteral("a ship in row 10, column 10");
    }
    if (count != Fleet::countBySize())
        return QStringLiteral("fleet of %1 x1, %2 x2, %3 x3, %4 x4")
            .arg(count[1])
            .arg(count[2])
            .arg(count[3])
            .arg(count[4]);
    return {};
}

void loadGrid(Board &board, Side side, const QStringList &rows)
{
    for (int row = 1; row <= 10; ++row) {
        for (int column = 1; column <= 10; ++column) {
            const QChar ch = rows[row - 1][column - 1];
            CellState s = CellState::Empty;
            if (ch == u'S')
                s = CellState::Ship;
            else if (ch == u'X')
                s = CellState::Hit;
            else if (ch == u'o')
                s = CellState::Miss;
            board.setState(Field::cellIndex(side, row, column), s);
        }
    }
}

QStringList gridOf(const Board &board, Side side)
{
    QStringList rows;
    for (int row = 1; row <= 10; ++row) {
        QString line;
        for (int column = 1; column <= 10; ++column) {
            switch (board.state(Field::cellIndex(side, row, column))) {
            case CellState::Empty:
                line += u'.';
                break;
            case CellState::Ship:
                line += u'S';
                break;
            case CellState::Hit:
                line += u'X';
                break;
            case CellState::Miss:
                line += u'o';
                break;
            }
        }
        rows.append(line);
    }
    return rows;
}
