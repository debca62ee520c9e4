#pragma once

#include <QPointF>
#include <QRectF>

class QPainter;
class QPainterPath;

// Deck works of a warship seen from above, in ship coordinates (bow to the right).
// Each casts a small shadow towards `shadow`, a vector pointing away from the light.
class ShipFittings
{
public:
    explicit ShipFittings(QPainter &painter, QPointF shadow);

    // A gun turret of radius r with `barrels` guns of the given length, trained to the
    // bow (facing = 1) or to the stern (facing = -1).
    void turret(QPointF centre, double r, int facing, int barrels, double barrelLength);
    // A superstructure block of one or more decks, each smaller than the one below.
    void bridge(QRectF base, int decks);
    void funnel(QPointF centre, double rx, double ry);
    void mast(QPointF centre, double yard);
    void boat(QPointF centre, double length, double width);
    // A triple torpedo mount on a turntable, tubes angled off the centre line.
    void torpedoTubes(QPointF centre, double length);
    void hatch(QPointF centre, double size);

private:
    void dropShadow(const QPainterPath &path, double height);

    QPainter &m_painter;
    QPointF m_shadow;
};
