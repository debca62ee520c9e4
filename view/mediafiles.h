#pragma once

#include <QImage>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcMedia)

// The picture files of the installation folder, read at each use. A file that is
// missing or unreadable gives one warning naming it, once per run, and a null image.
namespace MediaFiles {

QImage readImage(const QString &fileName);
// A plain miss mark drawn by the program, for when "XField.bmp" cannot be read: a miss
// must stay visible, or the player would take the cell for untried.
QImage builtInMissMark();
// Says once that a file could not be used, and why.
void warnOnce(const QString &fileName, const QString &reason);

} // namespace MediaFiles
