#include "view/effects/explosion.h"

#include "model/randomsource.h"
#include "view/effects/boombox.h"
#include "view/effects/testpace.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

#include <cfenv>
#include <cmath>

namespace {
constexpr int Steps = 4200;
constexpr qint64 DurationNs = 450'000'000;
constexpr qint64 FrameNs = 16'666'667;
} // namespace

ExplosionPacing platformExplosionPacing()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        ? ExplosionPacing::Frames
        : ExplosionPacing::EveryStep;
}

void drawExplosion(BoomBox &box, RandomSource &random, ExplosionPacing pacing)
{
    // The box is shown after each step, or once a display frame where repaints wait for
    // the compositor; then the explosion keeps the pace it has on X11 instead of taking a
    // frame per dot.
    QElapsedTimer clock;
    clock.start();
    qint64 frameEnd = FrameNs;
    int step = 0;
    const auto stepDone = [&] {
        ++step;
        if (pacing == ExplosionPacing::EveryStep) {
            if (step % TestPace::factor() == 0 || step == Steps)
                box.refresh();
            return;
        }
        const qint64 nextDue = qint64(step + 1) * (DurationNs / TestPace::factor()) / Steps;
        if (nextDue < frameEnd && step < Steps)
            return;
        box.refresh();
        const qint64 now = clock.nsecsElapsed();
        if (now < frameEnd)
            QThread::usleep(quint64((frameEnd - now) / 1000));
        frameEnd = std::max(frameEnd, now) + FrameNs;
    };
    const double W = BoomBox::Units;
    const int H = BoomBox::Units;
    for (int pass = 0; pass < 200; ++pass) {
        for (int i = 1; i <= 3; ++i) {
            const QColor pen = i == 3 ? QColor(192, 192, 192) : QColor(255, 0, 0);
            for (int dot = 0; dot < i; ++dot) {
                const int a = int(random.next() * 360);
                const int r = int(random.next() * 70 * i);
                box.drawArcDot(W / 2, H / 2.0, r, a, pen);
                stepDone();
            }
        }
    }
    const QColor back = box.backColor();
    // Halves go to the even neighbour, as the window's own rounding did.
    std::fesetround(FE_TONEAREST);
    for (int point = 0; point < 3000; ++point) {
        const double x = random.next() * W;
        const double y = std::nearbyint(random.next() * H);
        box.setPoint(x, y, back);
        stepDone();
    }
}
