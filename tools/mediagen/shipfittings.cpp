#include "shipfittings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {
const QColor edge(30, 34, 42);
const QColor barrelColour(74, 78, 88);

QRadialGradient litDome(QPointF centre, double radius, QColor light, QColor dark)
{
    QRadialGradient gradient(centre, radius * 1.6, centre + QPointF(-radius * 0.3, -radius * 0.45));
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}
} // namespace

ShipFittings::ShipFittings(QPainter &painter, QPointF shadow) : m_painter(painter), m_shadow(shadow)
{ }

void ShipFittings::dropShadow(const QPainterPath &path, double height)
{
    // Two passes, the nearer one darker, give the shadow a soft edge.
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QColor(20, 24, 36, 45));
    m_painter.drawPath(path.translated(m_shadow * height));
    m_painter.drawPath(path.translated(m_shadow * height * 0.55));
}

void ShipFittings::turret(QPointF centre, double r, int facing, int barrels, double barrelLength)
{
    const double spacing = barrels == 3 ? r * 0.42 : r * 0.34;
    const double width = r * (barrels == 1 ? 0.36 : 0.26);
    QPainterPath guns;
    for (int i = 0; i < barrels; ++i) {
        const double y = centre.y() + (i - (barrels - 1) / 2.0) * spacing;
        const double from = centre.x() + facing * r * 0.3;
        const double to = centre.x() + facing * (r + barrelLength);
        guns.addRoundedRect(QRectF(QPointF(std::min(from, to), y - width / 2),
                                   QPointF(std::max(from, to), y + width / 2)),
                            width / 2, width / 2);
    }
    // Seen from above a turret is a flat roof, round at the back and cut straight across
    // its armoured face.
    QPainterPath round;
    round.addRoundedRect(QRectF(centre.x() - r * 1.1, centre.y() - r, r * 2.2, r * 2.0), r * 0.95,
                         r * 0.95);
    const double face = centre.x() + facing * r * 0.78;
    QPainterPath keep;
    keep.addRect(QRectF(QPointF(facing > 0 ? centre.x() - r * 2 : face, centre.y() - r * 2),
                        QPointF(facing > 0 ? face : centre.x() + r * 2, centre.y() + r * 2)));
    const QPainterPath body = round.intersected(keep);
    dropShadow(body.united(guns), 0.8);

    m_painter.setPen(QPen(edge, 0.7));
    m_painter.setBrush(barrelColour);
    m_painter.drawPath(guns);
    m_painter.setBrush(QColor(82, 87, 97));
    m_painter.drawEllipse(centre, r * 1.15, r * 1.08); // the barbette ring on the deck
    QLinearGradient roof(centre - QPointF(r * 0.6, r), centre + QPointF(r * 0.6, r));
    roof.setColorAt(0, QColor(212, 216, 222));
    roof.setColorAt(0.5, QColor(170, 176, 185));
    roof.setColorAt(1, QColor(118, 124, 135));
    m_painter.setPen(QPen(edge, 1.0));
    m_painter.setBrush(roof);
    m_painter.drawPath(body);
    // Sighting hoods on the roof, towards the rear.
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QColor(88, 93, 103));
    for (int side : {-1, 1})
        m_painter.drawEllipse(centre + QPointF(-facing * r * 0.45, side * r * 0.5), r * 0.17,
                              r * 0.17);
}

void ShipFittings::bridge(QRectF base, int decks)
{
    QRectF level = base;
    QPainterPath first;
    first.addRoundedRect(base, 2.0, 2.0);
    dropShadow(first, 0.7 + decks * 0.3);
    for (int deck = 0; deck < decks; ++deck) {
        QLinearGradient shade(level.topLeft(), level.bottomLeft());
        shade.setColorAt(0, QColor(214 - deck * 4, 218 - deck * 4, 224 - deck * 4));
        shade.setColorAt(1, QColor(128, 134, 144));
        m_painter.setPen(QPen(edge, 0.9));
        m_painter.setBrush(shade);
        m_painter.drawRoundedRect(level, 2.0, 2.0);
        // The bridge windows along the forward face of the top deck.
        if (deck == decks - 1) {
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(QColor(36, 52, 82));
            const QRectF glass(level.right() - 2.4, level.top() + 1.4, 1.6, level.height() - 2.8);
            m_painter.drawRect(glass);
            m_painter.setBrush(QColor(170, 200, 235));
            m_painter.drawRect(QRectF(glass.left(), glass.top(), glass.width(), 1.2));
        }
        const double shrinkX = level.width() * 0.18;
        const double shrinkY = level.height() * 0.14;
        level.adjust(shrinkX * 0.6, shrinkY, -shrinkX * 0.4, -shrinkY);
    }
    // The gunnery director on top: a small round housing.
    m_painter.setPen(QPen(edge, 0.6));
    m_painter.setBrush(QColor(120, 126, 136));
    const double director = std::min(level.width(), level.height()) * 0.42;
    m_painter.drawEllipse(level.center() - QPointF(level.width() * 0.15, 0), director, director);
}

void ShipFittings::funnel(QPointF centre, double rx, double ry)
{
    QPainterPath casing;
    casing.addEllipse(centre, rx, ry);
    dropShadow(casing, 1.4);
    // A thin trail of smoke drifting aft.
    m_painter.setPen(Qt::NoPen);
    for (int i = 1; i <= 3; ++i) {
        m_painter.setBrush(QColor(60, 62, 70, 46 - i * 10));
        m_painter.drawEllipse(centre - QPointF(rx * 0.9 * i, -ry * 0.1 * i), rx * (0.7 + 0.1 * i),
                              ry * (0.65 + 0.08 * i));
    }
    m_painter.setPen(QPen(edge, 1.0));
    m_painter.setBrush(litDome(centre, ry, QColor(196, 200, 206), QColor(96, 100, 110)));
    m_painter.drawPath(casing);
    m_painter.setPen(QPen(QColor(40, 40, 44), 1.2)); // the black cap band
    m_painter.setBrush(QColor(24, 22, 24));
    m_painter.drawEllipse(centre, rx * 0.66, ry * 0.6);
}

void ShipFittings::mast(QPointF centre, double yard)
{
    m_painter.setPen(QPen(QColor(20, 24, 36, 80), 1.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF lift = m_shadow * 3.0;
    m_painter.drawLine(centre + lift - QPointF(0, yard / 2), centre + lift + QPointF(0, yard / 2));
    m_painter.setPen(QPen(QColor(44, 48, 56), 1.2, Qt::SolidLine, Qt::RoundCap));
    m_painter.drawLine(centre - QPointF(0, yard / 2), centre + QPointF(0, yard / 2));
    m_painter.setPen(QPen(edge, 0.6));
    m_painter.setBrush(QColor(150, 156, 166));
    m_painter.drawEllipse(centre, 1.6, 1.6);
}

void ShipFittings::boat(QPointF centre, double length, double width)
{
    QPainterPath hull;
    hull.addRoundedRect(QRectF(centre.x() - length / 2, centre.y() - width / 2, length, width),
                        width / 2, width / 2);
    dropShadow(hull, 0.8);
    m_painter.setPen(QPen(edge, 0.6));
    m_painter.setBrush(litDome(centre, width, QColor(236, 234, 226), QColor(160, 158, 150)));
    m_painter.drawPath(hull);
}

void ShipFittings::torpedoTubes(QPointF centre, double length)
{
    m_painter.setPen(QPen(edge, 0.7));
    m_painter.setBrush(QColor(96, 100, 110));
    m_painter.drawEllipse(centre, length * 0.22, length * 0.22);
    m_painter.save();
    m_painter.translate(centre);
    m_painter.rotate(-18.0);
    m_painter.setBrush(barrelColour);
    for (int i = -1; i <= 1; ++i)
        m_painter.drawRoundedRect(QRectF(-length / 2, i * 1.9 - 0.8, length, 1.6), 0.8, 0.8);
    m_painter.restore();
}

void ShipFittings::hatch(QPointF centre, double size)
{
    m_painter.setPen(QPen(edge, 0.6));
    m_painter.setBrush(QColor(104, 110, 120));
    m_painter.drawRect(QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size));
}
