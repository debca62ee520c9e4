#pragma once

#include <QPainterPath>
#include <QPointF>

class QPainter;

// The hull of a warship seen from above, in ship coordinates: the stern at x0, the
// bow at x1 (to the right), the centre line at y = cy, half the beam halfBeam.
class ShipHull
{
public:
    ShipHull(double x0, double x1, double cy, double halfBeam);

    double at(double fraction) const { return m_x0 + fraction * (m_x1 - m_x0); }
    double centreY() const { return m_cy; }
    double halfBeam() const { return m_halfBeam; }

    // The ship's soft shadow on the water; `offset` points away from the light, in
    // ship coordinates.
    void paintShadow(QPainter &painter, QPointF offset) const;
    // Foam along the waterline, the bow wave and a little wash at the stern.
    void paintFoam(QPainter &painter) const;
    // Hull sides, the deck with its planking and the anchor gear at the bow.
    void paintHull(QPainter &painter) const;

private:
    QPainterPath outline(double inset, double beamScale) const;

    double m_x0;
    double m_x1;
    double m_cy;
    double m_halfBeam;
};
