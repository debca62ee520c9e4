#include "sightpainter.h"

#include <QPainter>

QImage SightPainter::picture()
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Pixel centres lie at half coordinates: the hotspot pixel's centre is (16.5, 16.5).
    const QPointF centre(hotspot.x() + 0.5, hotspot.y() + 0.5);
    const QColor outline(255, 255, 255, 235);
    const QColor ink(176, 0, 0);
    const double gap = 4.0;
    const double reach = 14.0;

    auto arms = [&](double width, QColor colour, double extend) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        for (const QPointF direction :
             {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)})
            painter.drawLine(centre + direction * (gap - extend),
                             centre + direction * (reach + extend));
    };
    auto ring = [&](double width, QColor colour) {
        painter.setPen(QPen(colour, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, 9.5, 9.5);
    };

    // White edges first, the red sight over them.
    ring(4.0, outline);
    arms(3.0, outline, 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline);
    painter.drawRect(QRectF(centre - QPointF(1.5, 1.5), QSizeF(3, 3)));

    ring(1.8, ink);
    arms(1.0, ink, 0.0);
    painter.setBrush(ink);
    painter.drawRect(QRectF(centre - QPointF(0.5, 0.5), QSizeF(1, 1)));
    return image;
}
