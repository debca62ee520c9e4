#pragma once

#include <QImage>

class QPainter;
class SeededRandom;

// Draws the hit picture laid over a hit cell: a burning wreck spot with flames,
// dark smoke, charred debris and sparks, so a hit reads at a glance.
class FirePainter
{
public:
    static constexpr int pixels = 66;

    static QImage picture();

private:
    static void smoke(QPainter &painter, SeededRandom &random);
    static void debris(QPainter &painter, SeededRandom &random);
    static void flames(QPainter &painter, SeededRandom &random);
    static void sparks(QPainter &painter, SeededRandom &random);
};
