#pragma once

#include "view/fields/cellsurface.h"

#include <QPixmap>

// One member of the cell array `pic`: a 33 x 33 box that stretches its picture and
// draws an optional thin frame. Without a picture it is transparent, so the field's
// background shows through.
class CellView : public CellSurface
{
    Q_OBJECT
public:
    CellView(int index, QWidget *parent);

    bool hasFrame() const { return m_frame; }
    void setFrame(bool on);
    const QPixmap &picture() const { return m_picture; }
    void setPicture(const QPixmap &picture)
    {
        m_picture = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_frame = true;
    QPixmap m_picture;
};
