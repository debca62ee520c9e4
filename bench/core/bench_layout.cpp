// Random fleet layouts per second on one core, with the clock-seeded generator the game
// uses, for the computer's field (states only) and the player's (with ship pictures).
#include "model/fleetlayout.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

void measure(bool computers, int layouts)
{
    ClockSeededRandom random;
    Board board;
    FleetLayout layout(board, random);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < layouts; ++i) {
        // The computer's field must be empty before its fleet is laid; a fresh board
        // costs less than clearing it cell by cell.
        if (computers)
            board = Board();
        layout.SetShips(computers ? Side::Comp : Side::Player);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%-18s %9d layouts in %6.3f s: %9.0f layouts/s, %.2f us each, "
                "%d fresh starts after a dead end (1 in %.0f)\n",
                computers ? "computer's field" : "player's field", layouts, seconds,
                layouts / seconds, seconds * 1e6 / layouts, layout.restartCount(),
                layout.restartCount() ? double(layouts) / layout.restartCount() : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    const int layouts = argc > 1 ? std::atoi(argv[1]) : 1000000;
    measure(true, layouts);
    measure(false, layouts);
    return 0;
}
