#include "firepainter.h"

#include "artpalette.h"
#include "seededrandom.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {
const QPointF centre(FirePainter::pixels / 2.0, FirePainter::pixels / 2.0);

// A tongue of flame standing on `base`, leaning sideways towards its tip.
QPainterPath tongue(QPointF base, double height, double halfWidth, double lean)
{
    QPainterPath path;
    const QPointF tip = base + QPointF(lean, -height);
    path.moveTo(base + QPointF(0, halfWidth * 0.7));
    path.cubicTo(base + QPointF(-halfWidth * 1.25, halfWidth * 0.5),
                 base + QPointF(-halfWidth * 0.9 + lean * 0.3, -height * 0.5), tip);
    path.cubicTo(base + QPointF(halfWidth * 0.9 + lean * 0.3, -height * 0.5),
                 base + QPointF(halfWidth * 1.25, halfWidth * 0.5),
                 base + QPointF(0, halfWidth * 0.7));
    return path;
}
} // namespace

QImage FirePainter::picture()
{
    QImage image(pixels, pixels, QImage::Format_RGB32);
    image.fill(ArtPalette::sea);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    SeededRandom random(0xf1e);
    smoke(painter, random);
    debris(painter, random);
    flames(painter, random);
    sparks(painter, random);
    return image;
}

void FirePainter::smoke(QPainter &painter, SeededRandom &random)
{
    painter.setPen(Qt::NoPen);
    // A charred patch under the fire, fading out well inside the square so that its
    // edge stays open water.
    QRadialGradient scorch(centre, 30.0);
    scorch.setColorAt(0, QColor(22, 20, 22, 240));
    scorch.setColorAt(0.6, QColor(30, 30, 36, 200));
    scorch.setColorAt(1, QColor(40, 46, 64, 0));
    painter.setBrush(scorch);
    painter.drawEllipse(centre, 30.0, 30.0);
    // Billows of smoke, lit a little from the top left.
    for (int i = 0; i < 30; ++i) {
        // Smoke rises: most billows sit above the fire.
        const double angle = random.range(-M_PI * 1.15, M_PI * 0.15);
        const double distance = random.range(11.0, 24.0);
        const double radius = random.range(4.5, 8.0);
        const QPointF at = centre
            + QPointF(std::cos(angle), std::sin(angle)) * std::min(distance, 29.0 - radius);
        const int grey = int(random.range(50, 96));
        QRadialGradient billow(at, radius, at - QPointF(radius * 0.35, radius * 0.4));
        billow.setColorAt(0, QColor(grey + 20, grey + 20, grey + 24, 190));
        billow.setColorAt(1, QColor(grey - 14, grey - 14, grey - 10, 0));
        painter.setBrush(billow);
        painter.drawEllipse(at, radius, radius);
    }
    // The glow of the fire on the smoke.
    QRadialGradient glow(centre + QPointF(0, 4), 22.0);
    glow.setColorAt(0, QColor(255, 150, 40, 190));
    glow.setColorAt(0.5, QColor(220, 70, 20, 90));
    glow.setColorAt(1, QColor(120, 30, 10, 0));
    painter.setBrush(glow);
    painter.drawEllipse(centre + QPointF(0, 4), 22.0, 22.0);
}

void FirePainter::debris(QPainter &painter, SeededRandom &random)
{
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const double angle = 2.0 * M_PI * (i + random.range(-0.3, 0.3)) / 9.0;
        const double distance = random.range(12.0, 22.0);
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * distance;
        const double size = random.range(2.5, 4.8);
        QPolygonF shard;
        for (int corner = 0; corner < 5; ++corner) {
            const double a = corner * 2.0 * M_PI / 5 + random.range(-0.4, 0.4);
            const double r = size * random.range(0.45, 1.0);
            shard << at + QPointF(std::cos(a) * r * 1.5, std::sin(a) * r);
        }
        // The side facing the fire glows; the rest is charred black.
        const QPointF towardsFire = (centre - at) / distance;
        painter.setBrush(QColor(235, 110, 30, 210));
        painter.drawPolygon(shard.translated(towardsFire * 0.9));
        painter.setBrush(QColor(18, 15, 15));
        painter.drawPolygon(shard);
    }
}

void FirePainter::flames(QPainter &painter, SeededRandom &random)
{
    struct Layer
    {
        double scale;
        QColor colour;
    };
    const Layer layers[] = {{1.0, QColor(200, 36, 12)},
                            {0.74, QColor(252, 120, 18)},
                            {0.5, QColor(255, 206, 70)},
                            {0.26, QColor(255, 248, 210)}};
    // Taller tongues in the middle, shorter ones at the sides; every layer follows the
    // same tongues so the colours nest inside each other.
    struct Tongue
    {
        QPointF base;
        double height, halfWidth, lean;
    };
    QList<Tongue> tongues;
    for (double offset : {-10.0, 9.0, -4.0, 4.5, 0.0}) {
        tongues.append({centre + QPointF(offset, 11.0 - std::abs(offset) * 0.3),
                        30.0 - std::abs(offset) * 1.1 + random.range(-2.0, 3.0),
                        7.5 - std::abs(offset) * 0.2, offset * 0.35 + random.range(-2.0, 2.0)});
    }
    painter.setPen(Qt::NoPen);
    for (const Layer &layer : layers) {
        painter.setBrush(layer.colour);
        for (const Tongue &t : tongues)
            painter.drawPath(tongue(t.base, t.height * (0.35 + 0.65 * layer.scale),
                                    t.halfWidth * layer.scale, t.lean * layer.scale));
    }
}

void FirePainter::sparks(QPainter &painter, SeededRandom &random)
{
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const double angle = random.range(-M_PI * 0.95, -M_PI * 0.05); // mostly upwards
        const double distance = random.range(14.0, 27.0);
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * distance;
        const double radius = random.range(0.6, 1.1);
        painter.setBrush(QColor(255, 150, 40, 90));
        painter.drawEllipse(at, radius * 1.8, radius * 1.8);
        painter.setBrush(QColor(255, 240, 170));
        painter.drawEllipse(at, radius, radius);
    }
}
