#include "view/fields/picturefiles.h"

#include "files/filestamp.h"
#include "files/mediabytes.h"
#include "files/oncelog.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

Q_LOGGING_CATEGORY(lcMedia, "seabattle.media")

namespace {

struct Entry
{
    QString path;
    FileStamp stamp;
    QImage image;
    QPixmap pixmap; // made on first demand, then shared by every cell that shows it
    QPoint hotSpot;

    const QPixmap &sharedPixmap()
    {
        if (pixmap.isNull() && !image.isNull())
            pixmap = QPixmap::fromImage(image);
        return pixmap;
    }
};

// The hotspot a cursor file keeps in its directory entry; Qt's loader drops it.
QPoint cursorHotSpot(const QByteArray &bytes, const QImage &image)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (bytes.size() < 22 || qFromLittleEndian<quint16>(data + 2) != 2)
        return {image.width() / 2, image.height() / 2};
    return {qBound(0, int(qFromLittleEndian<quint16>(data + 10)), image.width() - 1),
            qBound(0, int(qFromLittleEndian<quint16>(data + 12)), image.height() - 1)};
}

bool isTooLarge(const QString &fileName, QSize size, int maxSide)
{
    if (size.width() <= maxSide && size.height() <= maxSide)
        return false;
    PictureFiles::warnOnce(fileName,
                           QStringLiteral("the picture is %1 x %2 pixels, more than the %3 a side "
                                          "it may have")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(maxSide));
    return true;
}

QImage decode(const QString &fileName, const QByteArray &bytes, const char *format, int maxSide)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    if (!reader.canRead()) {
        buffer.seek(0);
        reader.setDevice(&buffer);
        reader.setFormat(QByteArray());
        reader.setAutoDetectImageFormat(true);
    }
    // The header says how large the picture is before a pixel is decoded.
    const QSize size = reader.size();
    if (isTooLarge(fileName, size, maxSide))
        return {};
    // A header that hides the size cannot make the decoder allocate much either.
    reader.setAllocationLimit(16);
    QImage image = reader.read();
    if (image.isNull()) {
        PictureFiles::warnOnce(fileName, reader.errorString());
        return {};
    }
    if (isTooLarge(fileName, image.size(), maxSide))
        return {};
    return image;
}

enum class Kind { Picture, Cursor };

Entry &load(const QString &fileName, Kind kind)
{
    static QHash<QString, Entry> cache;
    Entry &entry = cache[fileName];
    const QString path = MediaBytes::path(fileName);
    const FileStamp stamp = FileStamp::of(path);
    if (path == entry.path && stamp == entry.stamp && stamp.exists)
        return entry;
    entry = {path, stamp, {}, {}, {}};
    QString why;
    const qint64 maxBytes
        = kind == Kind::Cursor ? MediaBytes::MaxCursorBytes : MediaBytes::MaxPictureBytes;
    const std::optional<QByteArray> bytes = MediaBytes::read(path, maxBytes, &why);
    if (!bytes) {
        PictureFiles::warnOnce(fileName, why);
        return entry;
    }
    if (kind == Kind::Cursor) {
        entry.image = decode(fileName, *bytes, "cur", PictureFiles::MaxCursorSide);
        entry.hotSpot = cursorHotSpot(*bytes, entry.image);
    } else {
        entry.image = decode(fileName, *bytes, nullptr, PictureFiles::MaxPictureSide);
    }
    return entry;
}

} // namespace

void PictureFiles::warnOnce(const QString &fileName, const QString &reason)
{
    static OnceLog log(lcMedia);
    log.say(QStringLiteral("cannot use %1 - %2 - the game goes on without it")
                .arg(MediaBytes::path(fileName), reason));
}

QImage PictureFiles::readImage(const QString &fileName)
{
    return load(fileName, Kind::Picture).image;
}

QPixmap PictureFiles::readPixmap(const QString &fileName)
{
    return load(fileName, Kind::Picture).sharedPixmap();
}

std::optional<PictureFiles::Cursor> PictureFiles::readCursor(const QString &fileName)
{
    Entry &entry = load(fileName, Kind::Cursor);
    if (entry.image.isNull())
        return std::nullopt;
    return Cursor {entry.sharedPixmap(), entry.hotSpot};
}

QImage PictureFiles::builtInMissMark()
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
