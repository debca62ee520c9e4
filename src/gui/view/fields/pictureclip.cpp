#include "view/fields/pictureclip.h"

QImage PictureClip::graphicCell(int n) const
{
    if (m_picture.isNull() || m_rows < 1 || m_cols < 1 || n < 0 || n >= m_rows * m_cols)
        return {};
    const int width = m_picture.width() / m_cols;
    const int height = m_picture.height() / m_rows;
    if (width < 1 || height < 1)
        return {};
    return m_picture.copy((n % m_cols) * width, (n / m_cols) * height, width, height);
}
