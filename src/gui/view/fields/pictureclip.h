#pragma once

#include <QImage>

// The picture-strip cutter `PClip`: divides one picture into rows x columns equal
// rectangles (whole pixels) and hands out rectangle n, counted from 0 row by row.
class PictureClip
{
public:
    void setRows(int rows) { m_rows = rows; }
    void setCols(int cols) { m_cols = cols; }
    void setPicture(const QImage &picture) { m_picture = picture; }
    const QImage &picture() const { return m_picture; }

    // A null image when n lies outside the grid or there is no picture.
    QImage graphicCell(int n) const;

private:
    QImage m_picture;
    int m_rows = 1;
    int m_cols = 1;
};
