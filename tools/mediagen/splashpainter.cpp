#include "splashpainter.h"

#include "artpalette.h"
#include "seededrandom.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

QImage SplashPainter::picture()
{
    QImage image(pixels, pixels, QImage::Format_RGB32);
    image.fill(ArtPalette::sea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(pixels / 2.0, pixels / 2.0);

    // Ripples: a light crest with a darker trough just inside it, fainter outwards.
    struct Ring
    {
        double radius, crest, width;
    };
    painter.setBrush(Qt::NoBrush);
    for (const Ring &ring : {Ring {27.0, 70, 2.0}, Ring {20.5, 125, 2.4}, Ring {14.0, 180, 2.6}}) {
        painter.setPen(QPen(QColor(30, 42, 80, int(ring.crest * 0.6)), 1.8));
        painter.drawEllipse(centre, ring.radius - 2.2, ring.radius - 2.2);
        painter.setPen(QPen(QColor(222, 236, 255, int(ring.crest)), ring.width));
        painter.drawEllipse(centre, ring.radius, ring.radius);
    }

    // The column of spray: a bright core fading to blue at its rim.
    QRadialGradient foam(centre, 9.5, centre - QPointF(1.5, 2.0));
    foam.setColorAt(0, QColor(255, 255, 255));
    foam.setColorAt(0.55, QColor(232, 244, 255));
    foam.setColorAt(0.85, QColor(160, 196, 236, 220));
    foam.setColorAt(1, QColor(120, 150, 200, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(foam);
    painter.drawEllipse(centre, 9.5, 9.5);

    // Droplets thrown out of the splash.
    SeededRandom random(0x5b1a54);
    for (int i = 0; i < 10; ++i) {
        const double angle = 2.0 * M_PI * (i + random.range(-0.45, 0.45)) / 10.0;
        const double distance = random.range(9.0, 17.0);
        const double radius = random.range(0.9, 2.1) * (1.0 - (distance - 9.0) / 24.0);
        const QPointF drop = centre + QPointF(std::cos(angle), std::sin(angle)) * distance;
        painter.setBrush(QColor(120, 160, 215, 150));
        painter.drawEllipse(drop + QPointF(0.5, 0.7), radius, radius);
        painter.setBrush(QColor(245, 250, 255));
        painter.drawEllipse(drop, radius, radius);
    }
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(centre - QPointF(1.6, 2.2), 2.6, 2.6); // a glint on the spray
    return image;
}
