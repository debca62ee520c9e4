#pragma once

#include "view/fields/cellsurface.h"

#include <QColor>
#include <QImage>

// One hit-marker box of `picBoom`: a 33 x 33 drawing surface laid over a hit cell.
// Drawing coordinates run 0..495 both ways, 15 units to a pixel. It shows the dots
// drawn on it until a picture replaces them. It stands for the hit cell it lies over
// (none at first): a hit cell is still refused with "Уже попадали" when pressed again.
class BoomBox : public CellSurface
{
    Q_OBJECT
public:
    static constexpr double UnitsPerPixel = 15.0;
    static constexpr int Units = 495;

    BoomBox(int index, QWidget *parent);

    void setBackColor(const QColor &colour);
    QColor backColor() const { return m_back; }
    // Back to the bare background, without a picture, on a canvas of the screen's density.
    void clear();
    // A one-degree arc of the circle of radius r around (cx, cy), from angle a (degrees).
    void drawArcDot(double cx, double cy, int r, int a, const QColor &colour);
    void setPoint(double x, double y, const QColor &colour);
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    const QImage &canvas() const { return m_canvas; }

    // A synchronous repaint, so each dot shows before the next is drawn.
    void refresh();
    int refreshCount() const { return m_refreshes; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_back;
    QImage m_canvas;
    QImage m_picture;
    int m_refreshes = 0;
};
