#pragma once

#include <QImage>
#include <QRect>

// Draws the raised bevelled frame that stands behind each field: a black outline, a
// light bevel along the top and left, a grey one along the bottom and right, a dark
// line round the inner edge and a flat interior in the sea colour under the cells.
// `scale` 2 draws the same frame at twice the resolution for dense screens.
class FramePainter
{
public:
    static constexpr int width = 354;
    static constexpr int height = 351;
    // The flat interior, in unscaled pixels. The cells of a field cover x 16..336 and
    // y 13..333 of the frame, so the interior reaches a little beyond them.
    static constexpr QRect interior {14, 13, 326, 324};

    static QImage picture(int scale);
};
