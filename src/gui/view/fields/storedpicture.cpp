#include "view/fields/storedpicture.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

StoredPicture::StoredPicture(const QString &name, const QString &resource, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
    if (resource.endsWith(QLatin1String(".svg"))) {
        m_svg = new QSvgRenderer(resource, this);
        return;
    }
    m_pixmap.load(resource);
    const QFileInfo info(resource);
    m_pixmap2x.load(info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1String("@2x.")
                    + info.suffix());
}

void StoredPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_svg) {
        m_svg->render(&painter, rect());
        return;
    }
    const bool dense = devicePixelRatioF() > 1.0 && !m_pixmap2x.isNull();
    painter.drawPixmap(rect(), dense ? m_pixmap2x : m_pixmap);
}
