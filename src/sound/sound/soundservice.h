#pragma once

#include <QString>

// What the game needs of sound: the tune player (mmc1) with its four commands, and the looping hit
// sound. The window holds one; its tests hand it a recording fake instead of the real GameSound. No
// command reports a result: a missing file or sound server is the implementation's business.
class SoundService
{
public:
    virtual ~SoundService() = default;
    virtual void setTuneFile(const QString &path) = 0; // mmc1's file name
    virtual void openTune() = 0; // "Open": open the file, position at its beginning
    virtual void playTune() = 0; // "Play": play from the current position, without waiting
    virtual void stopTune() = 0; // "Stop": stop, the position stays, so "Play" continues
    virtual void closeTune() = 0; // "Close": the next "Open" starts again at the beginning
    virtual void startHitSound(const QString &wavPath) = 0; // loops; replaces one playing
    virtual void stopHitSound() = 0; // silence at once; does nothing when nothing plays
};
