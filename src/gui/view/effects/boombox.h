#pragma once

#include "view/fields/cellsurface.h"

#include <QColor>
#include <QImage>

// One hit-marker box of `picBoom`: a 33 x 33 surface laid over a hit cell, showing the
// explosion drawn on its canvas until a picture replaces it. It stands for the hit cell it
// lies over (none at first): a hit cell is still refused with "Уже попадали" when pressed again.
class BoomBox : public CellSurface
{
    Q_OBJECT
public:
    BoomBox(int index, QWidget *parent);

    void setBackColor(const QColor &colour);
    QColor backColor() const { return m_back; }
    // Back to the bare background, without a picture, on a canvas of the screen's density.
    void clear();
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    QImage &canvas() { return m_canvas; }

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
