#pragma once

#include <QString>

// The installation folder: the folder of the executable, where the media files
// and the results store live. Never the current directory.
namespace InstallFolder {

QString path();
// Joins a bare file name such as "Boom.wav" to the installation folder.
QString file(const QString &name);
// Tests point the game at a folder of their own.
void setPathForTesting(const QString &path);

} // namespace InstallFolder
