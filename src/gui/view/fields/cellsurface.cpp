#include "view/fields/cellsurface.h"

#include "view/look.h"

#include <QMouseEvent>
#include <QPainter>

CellSurface::CellSurface(int cell, QWidget *parent) : QWidget(parent), m_cell(cell)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void CellSurface::mousePressEvent(QMouseEvent *event)
{
    if (m_cell >= 0)
        emit pressed(m_cell, event->button());
}

void CellSurface::mouseMoveEvent(QMouseEvent *)
{
    if (m_cell >= 0)
        emit moved(m_cell);
}

void CellSurface::paintGridLine(QPainter &painter) const
{
    painter.setPen(QPen(Look::CellFrame, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
