#include "view/fields/cellview.h"

#include "view/spoken/pressableaccessible.h"

#include <QPainter>

CellView::CellView(int index, QWidget *parent) : CellSurface(index, parent)
{
    PressableAccessible::install(); // before the first look of a screen reader
    setObjectName(QStringLiteral("pic(%1)").arg(index));
}

void CellView::setFrame(bool on)
{
    if (m_frame == on)
        return;
    m_frame = on;
    update();
}

void CellView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture); // nothing for a cell without a picture
    if (m_frame)
        paintGridLine(painter);
}
