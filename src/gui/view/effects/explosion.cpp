#include "view/effects/explosion.h"

#include "model/randomsource.h"
#include "view/effects/boombox.h"
#include "view/effects/testpace.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QThread>

#include <cfenv>
#include <cmath>

namespace {
constexpr int Steps = 4200;
constexpr qint64 DurationNs = 450'000'000;
constexpr qint64 FrameNs = 16'666'667;
// Drawing coordinates run 0..495 both ways over the box's 33 pixels.
constexpr double UnitsPerPixel = 15.0;
constexpr int Units = 495;

// A one-degree arc of the circle of radius r around (cx, cy), from angle a (degrees).
void drawArcDot(QImage &canvas, double cx, double cy, int r, int a, const QColor &colour)
{
    QPainter painter(&canvas);
    painter.scale(1.0 / UnitsPerPixel, 1.0 / UnitsPerPixel);
    QPen pen(colour);
    pen.setCosmetic(true);
    painter.setPen(pen);
    if (r == 0)
        painter.drawPoint(QPointF(cx, cy));
    else // Qt counts angles as the window did: from three o'clock, anticlockwise; in 1/16 degree.
        painter.drawArc(QRectF(cx - r, cy - r, 2.0 * r, 2.0 * r), a * 16, 16);
}
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
    const double W = Units;
    const int H = Units;
    for (int pass = 0; pass < 200; ++pass) {
        for (int i = 1; i <= 3; ++i) {
            const QColor pen = i == 3 ? QColor(192, 192, 192) : QColor(255, 0, 0);
            for (int dot = 0; dot < i; ++dot) {
                const int a = int(random.next() * 360);
                const int r = int(random.next() * 70 * i);
                drawArcDot(box.canvas(), W / 2, H / 2.0, r, a, pen);
                stepDone();
            }
        }
    }
    QImage &canvas = box.canvas();
    const qreal ratio = canvas.devicePixelRatio();
    const QColor back = box.backColor();
    // Halves go to the even neighbour, as the window's own rounding did.
    std::fesetround(FE_TONEAREST);
    for (int point = 0; point < 3000; ++point) {
        const double x = random.next() * W;
        const double y = std::nearbyint(random.next() * H);
        const int px = int(x / UnitsPerPixel * ratio);
        const int py = int(y / UnitsPerPixel * ratio);
        if (canvas.rect().contains(px, py))
            canvas.setPixelColor(px, py, back);
        stepDone();
    }
}
