#pragma once

#include <QPixmap>
#include <QWidget>

class QSvgRenderer;

// A picture compiled into the program: the field frame (raster, with a copy at twice
// the resolution for dense screens) or a turn arrow (vector). Not clickable.
class StoredPicture : public QWidget
{
    Q_OBJECT
public:
    StoredPicture(const QString &name, const QString &resource, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pixmap;
    QPixmap m_pixmap2x;
    QSvgRenderer *m_svg = nullptr;
};
