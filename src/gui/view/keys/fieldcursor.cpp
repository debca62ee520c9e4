#include "view/keys/fieldcursor.h"

#include <Qt>

#include <algorithm>
#include <iterator>

namespace {
struct Step
{
    int key;
    int rows;
    int columns;
};
constexpr Step steps[]
    = {{Qt::Key_Left, 0, -1}, {Qt::Key_Right, 0, 1}, {Qt::Key_Up, -1, 0}, {Qt::Key_Down, 1, 0}};
} // namespace

bool FieldCursor::move(int key)
{
    const Step *step = std::find_if(std::begin(steps), std::end(steps),
                                    [key](const Step &candidate) { return candidate.key == key; });
    if (step == std::end(steps))
        return false;
    m_row = std::clamp(m_row + step->rows, 1, 10);
    m_column = std::clamp(m_column + step->columns, 1, 10);
    return true;
}
