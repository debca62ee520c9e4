#pragma once

#include <QColor>

// Colours shared with the game's window: pictures drawn on the sea must match the
// window's background exactly so that cells without a picture look the same.
namespace ArtPalette {
inline const QColor sea(69, 87, 129);
inline const QColor orange(243, 119, 7);
inline const QColor bevelLight(192, 192, 255);
inline const QColor bevelShade(128, 128, 128);
inline const QColor bevelInnerLine(64, 64, 128);
} // namespace ArtPalette
