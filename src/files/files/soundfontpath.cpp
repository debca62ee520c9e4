#include "files/soundfontpath.h"

#include <QDir>
#include <QFileInfo>

QStringList SoundFontPath::candidates(const QString &root)
{
    const QDir base(root);
    return {base.filePath(QStringLiteral("usr/share/sounds/sf2/default-GM.sf2")),
            base.filePath(QStringLiteral("usr/share/sounds/sf3/default-GM.sf3"))};
}

QString SoundFontPath::find(const QString &root)
{
    for (const QString &path : candidates(root)) {
        const QFileInfo file(path);
        if (file.isFile() && file.isReadable())
            return path;
    }
    return {};
}
