#pragma once

#include <array>

// The ship picker `rb`: ten members, one per ship of the fleet. A member is enabled
// while its ship is still to be placed; exactly one member is selected at any time.
// It is the only record of which ships are still to be placed.
class ShipPicker
{
public:
    static constexpr int Count = 10;

    // The size a member stands for, its caption: 4, 3, 3, 2, 2, 2, 1, 1, 1, 1.
    static int sizeOf(int member)
    {
        return member == 0 ? 4 : member <= 2 ? 3 : member <= 5 ? 2 : 1;
    }

    bool isEnabled(int member) const { return m_enabled[member]; }
    int selected() const { return m_selected; }
    int selectedSize() const { return sizeOf(m_selected); }

    // A disabled member cannot be chosen.
    bool select(int member);
    void enableAll() { m_enabled.fill(true); }
    // The selected member's ship now stands: disable it and select the first member
    // still enabled. False when none is left, the tenth ship; the member placed last
    // then stays selected, though disabled.
    bool advance();

private:
    std::array<bool, Count> m_enabled {true, true, true, true, true, true, true, true, true, true};
    int m_selected = 0;
};
