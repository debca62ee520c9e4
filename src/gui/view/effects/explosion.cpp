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

// Shows the box after each step, or once a display frame when repaints wait for the
// compositor; then the explosion keeps the pace it has on X11 instead of taking a
// frame per dot.
class StepPresenter
{
public:
    StepPresenter(BoomBox &box, ExplosionPacing pacing) : m_box(box), m_pacing(pacing)
    {
        m_clock.start();
    }

    void stepDone()
    {
        ++m_step;
        if (m_pacing == ExplosionPacing::EveryStep) {
            if (m_step % TestPace::factor() == 0 || m_step == Steps)
                m_box.refresh();
            return;
        }
        const qint64 nextDue = qint64(m_step + 1) * (DurationNs / TestPace::factor()) / Steps;
        if (nextDue < m_frameEnd && m_step < Steps)
            return;
        m_box.refresh();
        const qint64 now = m_clock.nsecsElapsed();
        if (now < m_frameEnd)
            QThread::usleep(quint64((m_frameEnd - now) / 1000));
        m_frameEnd = std::max(m_frameEnd, now) + FrameNs;
    }

private:
    static constexpr qint64 DurationNs = 450'000'000;
    static constexpr qint64 FrameNs = 16'666'667;

    BoomBox &m_box;
    ExplosionPacing m_pacing;
    QElapsedTimer m_clock;
    qint64 m_frameEnd = FrameNs;
    int m_step = 0;
};
} // namespace

ExplosionPacing platformExplosionPacing()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        ? ExplosionPacing::Frames
        : ExplosionPacing::EveryStep;
}

void drawExplosion(BoomBox &box, RandomSource &random, ExplosionPacing pacing)
{
    StepPresenter presenter(box, pacing);
    const double W = BoomBox::Units;
    const int H = BoomBox::Units;
    const QColor red(255, 0, 0);
    const QColor grey(192, 192, 192);
    QColor pen = red;
    for (int pass = 0; pass < 200; ++pass) {
        for (int i = 1; i <= 3; ++i) {
            if (i == 1)
                pen = red;
            else if (i == 3)
                pen = grey;
            for (int dot = 0; dot < i; ++dot) {
                const int a = int(random.next() * 360);
                const int r = int(random.next() * 70 * i);
                box.drawArcDot(W / 2, H / 2.0, r, a, pen);
                presenter.stepDone();
            }
        }
    }
    const QColor back = box.backColor();
    // Halves go to the even neighbour, as the window's own rounding did.
    std::fesetround(FE_TONEAREST);
    for (int step = 0; step < 3000; ++step) {
        const double x = random.next() * W;
        const double y = std::nearbyint(random.next() * H);
        box.setPoint(x, y, back);
        presenter.stepDone();
    }
}
