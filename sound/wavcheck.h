#pragma once

#include <QByteArray>
#include <QString>

// Whether a WAV file can be handed to QSoundEffect. Qt's loader waits for ever for the rest of a
// file that was cut short, or for a format chunk that never ends, and while it waits every
// QSoundEffect that lets go of its sound blocks its thread; so only complete 8- or 16-bit PCM
// files get that far.
class WavCheck
{
public:
    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;

    // Empty when the sound can be played; otherwise what is wrong, to follow the file's name.
    static QString problem(const QByteArray &wav);
};
