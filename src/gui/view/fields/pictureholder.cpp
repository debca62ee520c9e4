#include "view/fields/pictureholder.h"

#include <QPainter>

PictureHolder::PictureHolder(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
}

void PictureHolder::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PictureHolder::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_picture.isNull())
        painter.drawImage(rect(), m_picture);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
