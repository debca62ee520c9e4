#pragma once

#include <QString>

// Where the game finds its media files and its helper programs, always relative to the
// executable, never to the current directory. Two layouts are known:
//  - beside: the media and the helpers lie in the executable's own folder (the build folder,
//    a portable copy), which may also hold the results store;
//  - installed: the executable in a program folder shared with other games (/usr/games), the
//    media and the helpers in folders of their own that the player cannot write to
//    (/usr/share/games/seabattle, /usr/lib/games/seabattle); the player's data folder keeps
//    the results.
namespace InstallFolder {

struct Layout
{
    QString media;
    QString helpers;
    bool systemWide = false;
};
// The layout of a game whose executable lies in programFolder: installed when the media
// folder of the installed layout exists beside it, else beside.
Layout layoutOf(const QString &programFolder);

// The media folder.
QString path();
// Whether the game runs from an installation, where the player's data folder is the normal
// home of the results, rather than from a folder of its own (a portable copy, the build
// folder).
bool isSystemWide();
// The path of one of the game's helper programs (the tune's renderer).
QString program(const QString &name);
// Joins a bare file name such as "Boom.wav" to the media folder.
QString file(const QString &name);
// Tests point the game at a folder of their own, laid out as a portable copy, or taking the
// part of a system-wide installation.
void setPathForTesting(const QString &path, bool systemWide = false);

} // namespace InstallFolder
