#include "store/shownnotices.h"

#include "files/regularfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString filePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("notices-shown"));
}

// One key a line; a path in a key may hold any character, a line break too.
QByteArray line(const QString &key)
{
    return QUrl::toPercentEncoding(key) + '\n';
}

} // namespace

bool ShownNotices::contains(const QString &key)
{
    RegularFile file(filePath(), RegularFile::Mode::Read);
    return file.isOpen() && file.read(0, 1 << 20).split('\n').contains(line(key).chopped(1));
}

void ShownNotices::add(const QString &key)
{
    const QString path = filePath();
    if (path.isEmpty() || !RegularFile::makeFolder(QFileInfo(path).path()))
        return;
    RegularFile file(path, RegularFile::Mode::Append);
    if (file.isOpen())
        file.writeAll(line(key));
}
