#pragma once

#include <QImage>
#include <QWidget>

// A hidden picture box that keeps its last picture: `Picture1`, the staging holder
// of the ship pieces. When a ship bitmap cannot be read the holder keeps the piece
// it had, and that piece goes into the cell.
class PictureHolder : public QWidget
{
    Q_OBJECT
public:
    PictureHolder(const QString &name, QWidget *parent);

    const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
