#include "shiphull.h"

#include <QLinearGradient>
#include <QPainter>

ShipHull::ShipHull(double x0, double x1, double cy, double halfBeam)
    : m_x0(x0), m_x1(x1), m_cy(cy), m_halfBeam(halfBeam)
{ }

QPainterPath ShipHull::outline(double inset, double beamScale) const
{
    const double x0 = m_x0 + inset;
    const double x1 = m_x1 - inset * 1.6;
    const double length = x1 - x0;
    const double cy = m_cy;
    const double w = m_halfBeam * beamScale;
    QPainterPath path;
    path.moveTo(x0 + 0.02 * length, cy - w * 0.8);
    path.cubicTo(x0 + 0.06 * length, cy - w * 0.98, x0 + 0.12 * length, cy - w, x0 + 0.2 * length,
                 cy - w);
    path.lineTo(x0 + 0.56 * length, cy - w);
    path.cubicTo(x0 + 0.8 * length, cy - w, x1 - 0.03 * length, cy - w * 0.4, x1, cy);
    path.cubicTo(x1 - 0.03 * length, cy + w * 0.4, x0 + 0.8 * length, cy + w, x0 + 0.56 * length,
                 cy + w);
    path.lineTo(x0 + 0.2 * length, cy + w);
    path.cubicTo(x0 + 0.12 * length, cy + w, x0 + 0.06 * length, cy + w * 0.98, x0 + 0.02 * length,
                 cy + w * 0.8);
    path.quadTo(x0 - 0.012 * length, cy, x0 + 0.02 * length, cy - w * 0.8);
    path.closeSubpath();
    return path;
}

void ShipHull::paintShadow(QPainter &painter, QPointF offset) const
{
    painter.setPen(Qt::NoPen);
    // Three passes at growing offsets make the shadow's edge soft.
    for (double step : {0.45, 0.75, 1.0}) {
        painter.setBrush(QColor(12, 18, 40, 52));
        painter.drawPath(outline(0, 1.0).translated(offset * step));
    }
}

void ShipHull::paintFoam(QPainter &painter) const
{
    const double length = m_x1 - m_x0;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(225, 235, 250, 70), 4.0));
    painter.drawPath(outline(0, 1.0));

    // The bow wave peels away from the stem along both sides.
    for (int side : {-1, 1}) {
        QLinearGradient fade(m_x1, 0, m_x1 - 0.45 * length, 0);
        fade.setColorAt(0, QColor(240, 246, 255, 200));
        fade.setColorAt(1, QColor(240, 246, 255, 0));
        painter.setPen(QPen(QBrush(fade), 1.8, Qt::SolidLine, Qt::RoundCap));
        QPainterPath wave;
        wave.moveTo(m_x1 + 1.0, m_cy);
        wave.cubicTo(m_x1 - 0.08 * length, m_cy + side * m_halfBeam * 0.9, m_x1 - 0.25 * length,
                     m_cy + side * (m_halfBeam + 3.0), m_x1 - 0.45 * length,
                     m_cy + side * (m_halfBeam + 4.5));
        painter.drawPath(wave);
    }

    // Churned water at the stern, kept inside the picture.
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const double x = m_x0 - 1.0 + i * 2.2;
        const double spread = m_halfBeam * (0.35 + 0.12 * i);
        painter.setBrush(QColor(235, 242, 255, 60 - i * 10));
        painter.drawEllipse(QPointF(x, m_cy), 2.6 + i * 0.6, spread);
    }
}

void ShipHull::paintHull(QPainter &painter) const
{
    const QColor outlineColour(30, 34, 42);
    QLinearGradient side(0, m_cy - m_halfBeam, 0, m_cy + m_halfBeam);
    side.setColorAt(0, QColor(122, 128, 138));
    side.setColorAt(1, QColor(70, 75, 86));
    painter.setPen(QPen(outlineColour, 1.4));
    painter.setBrush(side);
    painter.drawPath(outline(0, 1.0));

    QLinearGradient deck(0, m_cy - m_halfBeam, 0, m_cy + m_halfBeam);
    deck.setColorAt(0, QColor(186, 191, 199));
    deck.setColorAt(0.45, QColor(162, 168, 177));
    deck.setColorAt(1, QColor(118, 124, 134));
    painter.setPen(Qt::NoPen);
    painter.setBrush(deck);
    const QPainterPath deckPath = outline(1.8, 0.8);
    painter.drawPath(deckPath);

    // Faint planking lines, clipped to the deck.
    painter.save();
    painter.setClipPath(deckPath, Qt::IntersectClip);
    painter.setPen(QPen(QColor(110, 116, 126, 70), 0.6));
    for (double y = m_cy - m_halfBeam; y < m_cy + m_halfBeam; y += 3.0)
        painter.drawLine(QPointF(m_x0, y), QPointF(m_x1, y));
    painter.restore();

    // Anchor gear: two hawse pipes at the bow and the capstan between them.
    const double length = m_x1 - m_x0;
    const double bowX = m_x1 - 0.08 * length;
    painter.setPen(QPen(outlineColour, 0.8));
    painter.setBrush(QColor(55, 58, 66));
    for (int side : {-1, 1})
        painter.drawEllipse(QPointF(bowX, m_cy + side * m_halfBeam * 0.28), 1.3, 1.3);
    painter.setBrush(QColor(96, 100, 110));
    painter.drawEllipse(QPointF(bowX - 3.5, m_cy), 1.6, 1.6);
}
