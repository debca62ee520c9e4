#pragma once

#include <QString>

// The installation folder: the folder of the executable, where the media files
// and the results store live. Never the current directory.
namespace InstallFolder {

QString path();
// Whether the game runs from a system-wide installation, where the player's data folder is
// the normal home of the results, rather than from a folder of its own (a portable copy, the
// build folder).
bool isSystemWide();
// The path of one of the game's helper programs (the tune's renderer).
QString program(const QString &name);
// Joins a bare file name such as "Boom.wav" to the installation folder.
QString file(const QString &name);
// Tests point the game at a folder of their own.
void setPathForTesting(const QString &path);

} // namespace InstallFolder
