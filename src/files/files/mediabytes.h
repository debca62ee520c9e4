#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The game's media files: pictures, the cursor, the tune and the hit sound in the
// installation folder. Players bring their own, so nothing about them is trusted:
// a pipe, a device or an oversized file in their place must neither block nor
// swamp the game.
namespace MediaBytes {

// Size limits no real file of each kind reaches.
constexpr qint64 MaxPictureBytes = 16 * 1024 * 1024;
constexpr qint64 MaxCursorBytes = 1024 * 1024;
constexpr qint64 MaxSoundBytes = 32 * 1024 * 1024;
constexpr qint64 MaxTuneBytes = 4 * 1024 * 1024;

// The path of a media file in the installation folder: the exact name when it is
// there, else the one name that differs from it only in letter case (a player may
// copy in "xfield.bmp" or "SHIP11.BMP"), else the exact name.
QString path(const QString &name);

// The whole content of a regular file (or a link to one) of at most maxBytes. Never
// blocks: pipes, sockets and devices are refused before a byte is read. On failure
// `why` receives a short reason in plain words.
std::optional<QByteArray> read(const QString &filePath, qint64 maxBytes, QString *why = nullptr);

} // namespace MediaBytes
