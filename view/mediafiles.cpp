#include "view/mediafiles.h"

#include "model/installfolder.h"

#include <QImageReader>
#include <QSet>

Q_LOGGING_CATEGORY(lcMedia, "seabattle.media")

void MediaFiles::warnOnce(const QString &fileName, const QString &reason)
{
    static QSet<QString> warned;
    if (warned.contains(fileName))
        return;
    warned.insert(fileName);
    qCWarning(lcMedia).noquote() << "cannot use" << InstallFolder::file(fileName) << "-" << reason
                                 << "- the game goes on without it";
}

QImage MediaFiles::readImage(const QString &fileName)
{
    QImageReader reader(InstallFolder::file(fileName));
    // A directory or a huge file in place of a picture must not stall the game.
    reader.setAllocationLimit(64);
    QImage image = reader.read();
    if (image.isNull())
        warnOnce(fileName, reader.errorString());
    return image;
}
