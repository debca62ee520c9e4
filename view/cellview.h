#pragma once

#include <QPixmap>
#include <QWidget>

// One member of the cell array `pic`: a 33 x 33 box that stretches its picture and
// draws an optional thin frame. Without a picture it is transparent, so the field's
// background shows through.
class CellView : public QWidget
{
    Q_OBJECT
public:
    CellView(int index, QWidget *parent);

    bool hasFrame() const { return m_frame; }
    void setFrame(bool on);
    const QPixmap &picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

signals:
    void pressed(int index, Qt::MouseButton button);
    void moved(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    int m_index;
    bool m_frame = true;
    QPixmap m_picture;
};
