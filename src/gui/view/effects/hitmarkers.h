#pragma once

#include <QObject>

#include <array>

class BoomBox;
class QColor;
class QWidget;
class RandomSource;

// The 40 hit-marker boxes picBoom of frmMain. Each hit takes the next box, lays it
// over the hit cell, draws the explosion in it and leaves the hit picture there. A
// press or a move on a box is the press or move of the cell beneath it.
class HitMarkers : public QObject
{
    Q_OBJECT
public:
    HitMarkers(QWidget *window, RandomSource &random);

    void setBackColor(const QColor &colour);
    // The explosion over a hit cell in the next free box, drawn to its end.
    void DrawBoom(int cellIndex);
    // Every box hidden and emptied; the next hit takes the first box again.
    void clear();

signals:
    void pressed(int cellIndex, Qt::MouseButton button);
    void moved(int cellIndex);

private:
    RandomSource &m_random;
    std::array<BoomBox *, 40> m_boxes {};
    int m_next = 0; // intBoomNext
};
