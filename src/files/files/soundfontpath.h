#pragma once

#include <QString>
#include <QStringList>

// The General MIDI SoundFont the tune is played with: the one Debian's alternatives choose
// among the SoundFonts installed, in the SoundFont 2 format or else in the compressed
// SoundFont 3 format (a system may have either alone).
class SoundFontPath
{
public:
    // The paths looked at, in order, below root.
    static QStringList candidates(const QString &root = QStringLiteral("/"));
    // The first of them that is a readable file (an alternative whose target was removed is
    // not), or an empty string when there is none.
    static QString find(const QString &root = QStringLiteral("/"));
};
