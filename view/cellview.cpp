#include "view/cellview.h"

#include "view/palette.h"

#include <QMouseEvent>
#include <QPainter>

CellView::CellView(int index, QWidget *parent) : QWidget(parent), m_index(index)
{
    setObjectName(QStringLiteral("pic(%1)").arg(index));
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
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
    if (m_frame) {
        painter.setPen(QPen(Look::CellFrame, 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CellView::mousePressEvent(QMouseEvent *event)
{
    emit pressed(m_index, event->button());
}

void CellView::mouseMoveEvent(QMouseEvent *)
{
    emit moved(m_index);
}
