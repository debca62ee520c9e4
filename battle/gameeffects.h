#pragma once

#include <QString>

// What the game asks of the window, in the order the rules give. The window shows,
// sounds and stores; tests record the calls.
class GameEffects
{
public:
    virtual ~GameEffects() = default;

    // Counters, turn arrows or the phase's controls changed: show them now, before
    // any message box the game opens next.
    virtual void mirror() = 0;
    virtual void startHitSound() = 0; // Boom.wav, looping
    virtual void stopHitSound() = 0;
    virtual void drawBoom(int cellIndex) = 0; // the explosion over a hit cell, to its end
    virtual void startBoomTimer() = 0; // intBoomStep := 0 and tmrBoom on
    virtual void setComputerTimer(bool on) = 0; // tmrI; switching it on restarts its period
    // A modal message with one OK button. Timers keep ticking while it is open, so
    // the game may be re-entered from inside this call.
    virtual void showMessage(const QString &text) = 0;
    virtual void saveResult(const QString &winner) = 0; // SaveDB
    virtual void clearHitMarkers() = 0; // every picBoom box hidden and emptied
    virtual void resetHitMarkerCount() = 0; // intBoomNext := 0
};
