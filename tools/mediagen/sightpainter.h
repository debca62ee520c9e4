#pragma once

#include <QImage>
#include <QPoint>

// Draws the aiming cursor: a gun sight of dark red lines edged in white, so it shows
// on light and dark ground alike, on a transparent background. Its centre pixel is
// the hotspot.
class SightPainter
{
public:
    static constexpr int pixels = 32;
    static constexpr QPoint hotspot {16, 16};

    static QImage picture();
};
