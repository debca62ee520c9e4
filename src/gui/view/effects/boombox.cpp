#include "view/effects/boombox.h"

#include <QPainter>

#include <cmath>

BoomBox::BoomBox(int index, QWidget *parent) : CellSurface(-1, parent)
{
    setObjectName(QStringLiteral("picBoom(%1)").arg(index));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoomBox::setBackColor(const QColor &colour)
{
    m_back = colour;
    clear();
}

void BoomBox::clear()
{
    // The canvas has the screen's own density, so dots stay one device pixel wide.
    const qreal ratio = devicePixelRatioF();
    const int side = int(std::ceil(width() * ratio));
    m_canvas = QImage(side, side, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(ratio);
    m_canvas.fill(m_back);
    m_picture = QImage();
    update();
}

void BoomBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void BoomBox::refresh()
{
    ++m_refreshes;
    repaint();
}

void BoomBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_picture);
    } else if (!m_canvas.isNull()) {
        painter.drawImage(QPointF(0, 0), m_canvas);
    } else {
        painter.fillRect(rect(), m_back);
    }
    // The box lies over the cell's frame; keep the field's grid line around it.
    paintGridLine(painter);
}
