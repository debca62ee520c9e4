#pragma once

#include "files/regularfile.h"

#include <QString>

// Words the player reads about the game's files, in Russian.
namespace PlayerWording {

// What stands at a path instead of a file: "символическая ссылка", "папка", ...
QString fileKind(RegularFile::Kind kind);

// A path as the player's system writes it.
QString path(const QString &path);

} // namespace PlayerWording
