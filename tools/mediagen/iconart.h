#pragma once

#include <QByteArray>
#include <QImage>

// The application icon: a grey warship on a blue sea under a red gun sight. It is
// written as SVG and the fixed-size PNGs are rendered from it; sizes of 32 pixels
// and less use a plainer drawing with heavier lines so it still reads at 16.
class IconArt
{
public:
    static QByteArray svg(bool small);
    static QImage png(int pixels);
};
