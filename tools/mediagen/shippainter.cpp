#include "shippainter.h"

#include "artpalette.h"
#include "shipfittings.h"
#include "shiphull.h"

#include <QPainter>

QImage ShipPainter::strip(int size, int orientation)
{
    const int length = size * cellPixels;
    const bool upright = orientation == 2;
    QImage image(upright ? cellPixels : length, upright ? length : cellPixels,
                 QImage::Format_RGB32);
    image.fill(ArtPalette::sea);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Ship coordinates run from the stern (x = 0) to the bow (x = length); turning
    // them upright puts the bow at the top. The light comes from the top left of the
    // picture, so the shadow offset is taken back into ship coordinates.
    QTransform toImage;
    if (upright)
        toImage.translate(0, length).rotate(-90);
    painter.setTransform(toImage);
    const QPointF shadow
        = toImage.inverted().map(QPointF(1.6, 2.2)) - toImage.inverted().map(QPointF());

    const double halfBeam[] = {0, 10.5, 12.5, 15.0, 18.0};
    const double bowMargin = size == 1 ? 6.0 : 4.0;
    const ShipHull hull(size == 1 ? 7.0 : 5.0, length - bowMargin, cellPixels / 2.0,
                        halfBeam[size]);
    hull.paintFoam(painter);
    hull.paintShadow(painter, shadow * 1.6);
    hull.paintHull(painter);

    ShipFittings deck(painter, shadow);
    switch (size) {
    case 1:
        patrolBoat(deck, hull);
        break;
    case 2:
        destroyer(deck, hull);
        break;
    case 3:
        cruiser(deck, hull);
        break;
    default:
        battleship(deck, hull);
        break;
    }
    return image;
}

void ShipPainter::patrolBoat(ShipFittings &deck, const ShipHull &hull)
{
    const double cy = hull.centreY();
    const double w = hull.halfBeam();
    deck.hatch(QPointF(hull.at(0.16), cy), 3.2);
    deck.bridge(QRectF(hull.at(0.34), cy - w * 0.5, hull.at(0.62) - hull.at(0.34), w), 2);
    deck.mast(QPointF(hull.at(0.28), cy), w * 1.1);
    deck.turret(QPointF(hull.at(0.78), cy), 3.4, 1, 1, 6.0);
}

void ShipPainter::destroyer(ShipFittings &deck, const ShipHull &hull)
{
    const double cy = hull.centreY();
    const double w = hull.halfBeam();
    deck.turret(QPointF(hull.at(0.12), cy), 4.4, -1, 1, 7.5);
    deck.torpedoTubes(QPointF(hull.at(0.29), cy), 13.0);
    deck.funnel(QPointF(hull.at(0.41), cy), 5.6, 4.2);
    for (int side : {-1, 1})
        deck.boat(QPointF(hull.at(0.47), cy + side * w * 0.58), 9.0, 3.4);
    deck.funnel(QPointF(hull.at(0.53), cy), 5.6, 4.2);
    deck.mast(QPointF(hull.at(0.595), cy), w * 1.3);
    deck.bridge(QRectF(hull.at(0.62), cy - w * 0.52, hull.at(0.72) - hull.at(0.62), w * 1.04), 2);
    deck.turret(QPointF(hull.at(0.82), cy), 4.6, 1, 1, 8.0);
}

void ShipPainter::cruiser(ShipFittings &deck, const ShipHull &hull)
{
    const double cy = hull.centreY();
    const double w = hull.halfBeam();
    deck.turret(QPointF(hull.at(0.14), cy), 6.0, -1, 2, 10.0);
    deck.hatch(QPointF(hull.at(0.26), cy), 3.6);
    deck.mast(QPointF(hull.at(0.32), cy), w * 1.2);
    deck.funnel(QPointF(hull.at(0.41), cy), 6.8, 5.0);
    for (int side : {-1, 1})
        deck.boat(QPointF(hull.at(0.46), cy + side * w * 0.6), 11.0, 4.0);
    deck.funnel(QPointF(hull.at(0.51), cy), 6.8, 5.0);
    deck.mast(QPointF(hull.at(0.575), cy), w * 1.4);
    deck.bridge(QRectF(hull.at(0.59), cy - w * 0.55, hull.at(0.68) - hull.at(0.59), w * 1.1), 3);
    // The raised turret is drawn last: its guns reach over the one ahead of it.
    deck.turret(QPointF(hull.at(0.855), cy), 6.0, 1, 2, 10.0);
    deck.turret(QPointF(hull.at(0.75), cy), 6.2, 1, 2, 10.0);
}

void ShipPainter::battleship(ShipFittings &deck, const ShipHull &hull)
{
    const double cy = hull.centreY();
    const double w = hull.halfBeam();
    deck.turret(QPointF(hull.at(0.11), cy), 7.6, -1, 3, 13.0);
    deck.turret(QPointF(hull.at(0.215), cy), 7.8, -1, 3, 13.0);
    deck.bridge(QRectF(hull.at(0.3), cy - w * 0.45, hull.at(0.37) - hull.at(0.3), w * 0.9), 2);
    deck.mast(QPointF(hull.at(0.39), cy), w * 1.3);
    for (int side : {-1, 1}) {
        deck.turret(QPointF(hull.at(0.42), cy + side * w * 0.62), 3.2, 1, 1, 5.0);
        deck.boat(QPointF(hull.at(0.48), cy + side * w * 0.62), 12.0, 4.2);
        deck.turret(QPointF(hull.at(0.57), cy + side * w * 0.62), 3.2, 1, 1, 5.0);
    }
    deck.funnel(QPointF(hull.at(0.48), cy), 9.0, 6.4);
    deck.bridge(QRectF(hull.at(0.56), cy - w * 0.5, hull.at(0.68) - hull.at(0.56), w), 3);
    deck.mast(QPointF(hull.at(0.545), cy), w * 1.5);
    deck.turret(QPointF(hull.at(0.855), cy), 7.8, 1, 3, 13.0);
    deck.turret(QPointF(hull.at(0.75), cy), 8.0, 1, 3, 13.0);
}
