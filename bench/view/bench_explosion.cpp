// How long the explosion takes on the screen the program runs on: a hit-marker box in
// an 800 x 600 window, the whole explosion drawn several times, each dot shown at once.
#include "model/randomsource.h"
#include "view/effects/boombox.h"
#include "view/effects/explosion.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    BoomBox box(0, &window);
    box.setGeometry(456, 48, 33, 33);
    box.setBackColor(QColor(69, 87, 129));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "the window was not exposed\n");
    QTest::qWait(200);

    ClockSeededRandom random;
    std::vector<double> ms;
    int repaints = 0;
    for (int run = 0; run < 5; ++run) {
        box.clear();
        const int before = box.refreshCount();
        QElapsedTimer timer;
        timer.start();
        drawExplosion(box, random);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        repaints = box.refreshCount() - before;
        app.processEvents();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("platform %s: explosion (%d repaints) median %.0f ms, min %.0f, max %.0f\n",
                qPrintable(QGuiApplication::platformName()), repaints, ms[ms.size() / 2],
                ms.front(), ms.back());
    return 0;
}
