#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// One hit-marker box of `picBoom`: a 33 x 33 drawing surface laid over a hit cell.
// Drawing coordinates run 0..495 both ways, 15 units to a pixel. It shows the dots
// drawn on it until a picture replaces them.
class BoomBox : public QWidget
{
    Q_OBJECT
public:
    static constexpr double UnitsPerPixel = 15.0;
    static constexpr int Units = 495;

    BoomBox(int index, QWidget *parent);

    void setBackColor(const QColor &colour);
    QColor backColor() const { return m_back; }
    // Back to the bare background, without a picture.
    void clear();
    // A one-degree arc of the circle of radius r around (cx, cy), from angle a (degrees).
    void drawArcDot(double cx, double cy, int r, int a, const QColor &colour);
    void setPoint(double x, double y, const QColor &colour);
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    const QImage &canvas() const { return m_canvas; }

    // The hit cell the box lies over (-1: none). Presses and moves on the box are the
    // cell's: a hit cell is still refused with "Уже попадали" when pressed again.
    void setCell(int index) { m_cell = index; }
    int cell() const { return m_cell; }

    // A synchronous repaint, so each dot shows before the next is drawn.
    void refresh();
    int refreshCount() const { return m_refreshes; }

signals:
    void pressed(int index, Qt::MouseButton button);
    void moved(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void beginCanvas();

    QColor m_back;
    QImage m_canvas;
    QImage m_picture;
    int m_refreshes = 0;
    int m_cell = -1;
};
