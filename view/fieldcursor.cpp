#include "view/fieldcursor.h"

#include <Qt>

#include <algorithm>

bool FieldCursor::move(int key)
{
    switch (key) {
    case Qt::Key_Left:
        m_column = std::max(1, m_column - 1);
        return true;
    case Qt::Key_Right:
        m_column = std::min(10, m_column + 1);
        return true;
    case Qt::Key_Up:
        m_row = std::max(1, m_row - 1);
        return true;
    case Qt::Key_Down:
        m_row = std::min(10, m_row + 1);
        return true;
    }
    return false;
}
