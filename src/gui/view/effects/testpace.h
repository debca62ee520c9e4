#pragma once

#include <QtGlobal>

#include <algorithm>

// For the tests alone: SEABATTLE_TEST_PACE=N runs the battle N times faster, so that a whole
// game through the real window takes seconds instead of minutes. The computer's move (tmrI),
// the hit sound's cut-off (tmrBoom) and the explosion's drawing are paced by it; the tune is
// not. Read once, at the first use; unset, or anything but a whole number from 1 to 100, is
// the game's own pace.
namespace TestPace {

inline int factor()
{
    static const int pace = [] {
        bool ok = false;
        const int n = qEnvironmentVariableIntValue("SEABATTLE_TEST_PACE", &ok);
        return ok && n >= 1 && n <= 100 ? n : 1;
    }();
    return pace;
}

// A timer's interval at the test's pace.
inline int interval(int ms)
{
    return std::max(1, ms / factor());
}

} // namespace TestPace
