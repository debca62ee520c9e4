#include "store/shownnotices.h"

#include "files/playerfolders.h"
#include "files/regularfile.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

QString filePath()
{
    const QString folder = PlayerFolders::data();
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
    // Read to its end in pieces, however long it has grown: a notice seen must stay seen.
    const QByteArray wanted = line(key);
    RegularFile file(filePath(), RegularFile::Mode::Read);
    QByteArray rest = "\n";
    for (qint64 offset = 0; file.isOpen();) {
        const QByteArray piece = file.read(offset, 1 << 20);
        if (piece.isEmpty())
            return (rest + '\n').contains('\n' + wanted);
        offset += piece.size();
        rest += piece;
        if (rest.contains('\n' + wanted))
            return true;
        // The last line may go on in the next piece.
        rest = rest.mid(rest.lastIndexOf('\n'));
        if (rest.size() > 1 << 20)
            rest.clear(); // a line longer than any key matches none
    }
    return false;
}

void ShownNotices::add(const QString &key)
{
    const QString path = filePath();
    if (path.isEmpty() || !RegularFile::makeFolder(QFileInfo(path).path()))
        return;
    RegularFile file(path, RegularFile::Mode::Append);
    if (!file.isOpen())
        return;
    // A last line without its line break would run into this one.
    const qint64 size = file.size();
    const bool ended = size == 0 || file.read(size - 1, 1) == "\n";
    file.writeAll(ended ? line(key) : '\n' + line(key));
}
