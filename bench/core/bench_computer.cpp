// How many shots the computer needs to sink a whole fleet at each level, over many
// random fleets: the mean with its spread. Only the computer fires.
#include "battle/computeropponent.h"
#include "battle/sinkresolver.h"
#include "model/fleetlayout.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int shotsToSinkFleet(int level, RandomSource &random)
{
    Board board;
    Score score;
    FleetLayout(board, random).SetShips(Side::Player);
    int shots = 0;
    for (int hits = 0; hits < 20;) {
        const ComputerTarget target = chooseTarget(board, level, random);
        const int cell = Field::cellIndex(Side::Player, target.row, target.column);
        ++shots;
        if (target.hit) {
            ++hits;
            board.setState(cell, CellState::Hit);
            TestBoomFc(board, score, target.row, target.column);
        } else {
            board.setPicture(cell, CellPicture::missMark());
            board.setState(cell, CellState::Miss);
        }
    }
    return shots;
}

} // namespace

int main(int argc, char **argv)
{
    const int games = argc > 1 ? std::atoi(argv[1]) : 100000;
    ClockSeededRandom random;
    std::printf("level  games    mean shots  std dev  min  max   (%d games per level)\n", games);
    for (int level = 1; level <= 3; ++level) {
        QElapsedTimer timer;
        timer.start();
        double sum = 0;
        double squares = 0;
        int least = 1000;
        int most = 0;
        for (int game = 0; game < games; ++game) {
            const int shots = shotsToSinkFleet(level, random);
            sum += shots;
            squares += double(shots) * shots;
            least = std::min(least, shots);
            most = std::max(most, shots);
        }
        const double mean = sum / games;
        const double deviation = std::sqrt(std::max(0.0, squares / games - mean * mean));
        std::printf("%5d  %6d  %10.2f  %7.2f  %3d  %3d   (%.2f s)\n", level, games, mean, deviation,
                    least, most, timer.nsecsElapsed() / 1e9);
    }
    return 0;
}
