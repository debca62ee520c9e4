#pragma once

#include <QImage>
#include <QLoggingCategory>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcMedia)

// The picture files of the installation folder: miss mark, ship strips, hit picture
// and aim cursor. Each use looks at the file again, but a file is decoded only when
// it has changed since, so a hundred miss marks share one picture. A file that
// cannot be used gives one warning naming it and the cause, and a null result.
namespace PictureFiles {

// Bounds no real picture reaches; anything larger is refused from its header alone,
// before it is decoded.
constexpr int MaxPictureSide = 1024;
constexpr int MaxCursorSide = 256;

QImage readImage(const QString &fileName);
QPixmap readPixmap(const QString &fileName);

struct Cursor
{
    QPixmap picture;
    QPoint hotSpot;
};
std::optional<Cursor> readCursor(const QString &fileName);

// A plain miss mark drawn by the program, for when "XField.bmp" cannot be read: a miss
// must stay visible, or the player would take the cell for untried.
QImage builtInMissMark();
// Says once per cause that a file could not be used, and why.
void warnOnce(const QString &fileName, const QString &reason);

} // namespace PictureFiles
