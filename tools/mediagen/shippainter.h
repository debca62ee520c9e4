#pragma once

#include <QImage>

class ShipHull;
class ShipFittings;

// Draws the strips of ship pictures: one warship per strip of `size` squares of
// `cellPixels`, on the sea. Orientation 1 lays the ship along a row with its bow to
// the right; orientation 2 is the same ship turned upright, bow at the top. Each
// size is its own class of ship: a patrol boat, a destroyer, a cruiser, a battleship.
class ShipPainter
{
public:
    static constexpr int cellPixels = 66;

    static QImage strip(int size, int orientation);

private:
    static void patrolBoat(ShipFittings &deck, const ShipHull &hull);
    static void destroyer(ShipFittings &deck, const ShipHull &hull);
    static void cruiser(ShipFittings &deck, const ShipHull &hull);
    static void battleship(ShipFittings &deck, const ShipHull &hull);
};
