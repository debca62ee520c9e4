#pragma once

// Orientation codes of a ship, as in the ship bitmaps' names "Ship<size><code>.bmp".
namespace Orientation {
constexpr int Horizontal = 1;
constexpr int Vertical = 2;
} // namespace Orientation

// What picture a cell shows. The core only names it; the window loads the file
// when the picture is put into the cell.
struct CellPicture
{
    enum class Kind { None, ShipPiece, MissMark };

    Kind kind = Kind::None;
    int piece = 0; // 1 .. size, from the ship's top or left end
    int size = 0; // 1 .. 4
    int orientation = 0; // Orientation::Horizontal or Orientation::Vertical

    static CellPicture none() { return {}; }
    static CellPicture missMark() { return {Kind::MissMark, 0, 0, 0}; }
    static CellPicture shipPiece(int piece, int size, int orientation)
    {
        return {Kind::ShipPiece, piece, size, orientation};
    }
    bool operator==(const CellPicture &) const = default;
};
