#pragma once

#include "model/fleet.h"

#include <array>

// The ship picker `rb`: one member per ship of the fleet, in its order. A member is enabled
// while its ship is still to be placed; exactly one member is selected at any time.
// It is the only record of which ships are still to be placed.
class ShipPicker
{
public:
    static constexpr int Count = Fleet::ShipCount;

    // The size a member stands for, its caption.
    static int sizeOf(int member) { return Fleet::Sizes[member]; }

    ShipPicker() { enableAll(); }

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
    std::array<bool, Count> m_enabled {};
    int m_selected = 0;
};
