#include "view/cellview.h"

#include <QPainter>

CellView::CellView(int index, QWidget *parent) : CellSurface(index, parent)
{
    setObjectName(QStringLiteral("pic(%1)").arg(index));
}

void CellView::setFrame(bool on)
{
    if (m_frame == on)
        return;
    m_frame = on;
    update();
}

void CellView::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void CellView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_picture);
    }
    if (m_frame)
        paintGridLine(painter);
}
