#include "view/mediafiles.h"

#include "model/installfolder.h"

#include <QImageReader>
#include <QPainter>
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

QImage MediaFiles::builtInMissMark()
{
    QImage mark(66, 66, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(235, 240, 255), 4));
    painter.drawEllipse(QPointF(33, 33), 14, 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(235, 240, 255));
    painter.drawEllipse(QPointF(33, 33), 5, 5);
    return mark;
}
