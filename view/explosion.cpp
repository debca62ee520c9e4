#include "view/explosion.h"

#include "model/randomsource.h"
#include "view/boombox.h"

#include <cfenv>
#include <cmath>

void drawExplosion(BoomBox &box, RandomSource &random)
{
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
                box.refresh();
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
        box.refresh();
    }
}
