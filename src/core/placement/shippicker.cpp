#include "placement/shippicker.h"

bool ShipPicker::select(int member)
{
    if (member < 0 || member >= Count || !m_enabled[member])
        return false;
    m_selected = member;
    return true;
}

bool ShipPicker::advance()
{
    m_enabled[m_selected] = false;
    for (int member = 0; member < Count; ++member) {
        if (m_enabled[member]) {
            m_selected = member;
            return true;
        }
    }
    return false;
}
