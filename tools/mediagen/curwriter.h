#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

// Encodes one picture as a Windows cursor file (.cur): an icon directory of type 2
// whose single entry carries the hotspot, then a DIB with a 32-bit colour image and
// a one-bit transparency mask under it (hence the doubled height in its header).
class CurWriter
{
public:
    // The picture must be at most 255 pixels wide and high.
    static QByteArray encode(const QImage &image, QPoint hotspot);
};
