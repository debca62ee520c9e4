#include "framepainter.h"

#include "artpalette.h"

#include <QPainter>

QImage FramePainter::picture(int scale)
{
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);

    // Corners of the bevel, inside the one-pixel outline; the dark line is the first
    // ring of pixels inside `inner`.
    const QRectF outer(1, 1, width - 2, height - 2);
    const QRectF inner = QRectF(interior).adjusted(-1, -1, 1, 1);

    painter.setBrush(ArtPalette::bevelLight);
    painter.drawRect(outer);
    // The shaded bevel meets the light one on the diagonals at two corners.
    const QPolygonF shade {outer.topRight(),   outer.bottomRight(), outer.bottomLeft(),
                           inner.bottomLeft(), inner.bottomRight(), inner.topRight()};
    painter.setBrush(ArtPalette::bevelShade);
    painter.drawPolygon(shade);

    // A brighter rim on the lit edge and a darker one on the shaded edge make the bevel
    // read as raised.
    painter.setBrush(ArtPalette::bevelLight.lighter(112));
    painter.drawPolygon(QPolygonF {
        outer.topLeft(), outer.topRight(), outer.topRight() + QPointF(-1, 1),
        outer.topLeft() + QPointF(1, 1), outer.bottomLeft() + QPointF(1, -1), outer.bottomLeft()});
    painter.setBrush(ArtPalette::bevelShade.darker(125));
    painter.drawPolygon(QPolygonF {outer.topRight(), outer.bottomRight(), outer.bottomLeft(),
                                   outer.bottomLeft() + QPointF(1, -1),
                                   outer.bottomRight() + QPointF(-1, -1),
                                   outer.topRight() + QPointF(-1, 1)});

    painter.setBrush(ArtPalette::bevelInnerLine);
    painter.drawRect(inner);
    painter.setBrush(ArtPalette::sea);
    painter.drawRect(QRectF(interior));
    return image;
}
