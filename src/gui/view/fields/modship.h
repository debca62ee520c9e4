#pragma once

class PictureHolder;

// The ship pictures: "Ship<size><orientation>.bmp" in the installation folder, a strip
// of `size` equal squares, read anew for every piece.
namespace modShip {

// Puts piece `piece` (1 = the top or left end) of the ship picture into the holder.
// When the bitmap cannot be read the holder keeps its previous picture.
void LoadShipPart(int piece, int size, int orientation, PictureHolder &holder);

} // namespace modShip
