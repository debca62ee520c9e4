#pragma once

#include <QImage>

// Draws the miss mark: a splash of white water where a shell fell into the sea,
// with rings of ripples spreading from it. The edge of the picture is plain sea,
// so the mark sits in the water of the field.
class SplashPainter
{
public:
    static constexpr int pixels = 66;

    static QImage picture();
};
