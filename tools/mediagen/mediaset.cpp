#include "mediaset.h"

#include "arrowsvg.h"
#include "bmpwriter.h"
#include "curwriter.h"
#include "explosionsynth.h"
#include "firepainter.h"
#include "framepainter.h"
#include "iconart.h"
#include "seatune.h"
#include "shippainter.h"
#include "sightpainter.h"
#include "splashpainter.h"
#include "wavwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {
QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
} // namespace

void MediaSet::addPictures(QList<File> &files)
{
    files.append({QStringLiteral("media/XField.bmp"), BmpWriter::encode(SplashPainter::picture())});
    for (int size = 1; size <= 4; ++size) {
        for (int orientation = 1; orientation <= 2; ++orientation) {
            files.append({QStringLiteral("media/Ship%1%2.bmp").arg(size).arg(orientation),
                          BmpWriter::encode(ShipPainter::strip(size, orientation))});
        }
    }
    files.append({QStringLiteral("media/picBoom.bmp"), BmpWriter::encode(FirePainter::picture())});
    files.append({QStringLiteral("media/Sn.cur"),
                  CurWriter::encode(SightPainter::picture(), SightPainter::hotspot)});
}

void MediaSet::addSounds(QList<File> &files)
{
    files.append({QStringLiteral("media/seasound.mid"), SeaTune::midi()});
    files.append({QStringLiteral("media/Boom.wav"),
                  WavWriter::encode(ExplosionSynth::samples(), ExplosionSynth::sampleRate, 1)});
}

void MediaSet::addWindowPictures(QList<File> &files)
{
    files.append(
        {QStringLiteral("src/gui/resources/fieldframe.png"), png(FramePainter::picture(1))});
    files.append(
        {QStringLiteral("src/gui/resources/fieldframe@2x.png"), png(FramePainter::picture(2))});
    files.append({QStringLiteral("src/gui/resources/leftarrow.svg"), ArrowSvg::document(false)});
    files.append({QStringLiteral("src/gui/resources/rightarrow.svg"), ArrowSvg::document(true)});
}

void MediaSet::addIcons(QList<File> &files)
{
    const QString name = QStringLiteral("org.seabattle.SeaBattle");
    for (int pixels : {16, 32, 48, 64, 128, 256}) {
        files.append(
            {QStringLiteral("desktop/icons/hicolor/%1x%1/apps/%2.png").arg(pixels).arg(name),
             png(IconArt::png(pixels))});
    }
    files.append({QStringLiteral("desktop/icons/hicolor/scalable/apps/%1.svg").arg(name),
                  IconArt::svg(false)});
}

QList<MediaSet::File> MediaSet::build()
{
    QList<File> files;
    addPictures(files);
    addSounds(files);
    addWindowPictures(files);
    addIcons(files);
    return files;
}

bool MediaSet::writeAll(const QString &root)
{
    bool allWritten = true;
    for (const File &file : build()) {
        const QString path = QDir(root).filePath(file.path);
        QSaveFile out(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !out.open(QIODevice::WriteOnly)
            || out.write(file.bytes) != file.bytes.size() || !out.commit()) {
            std::fprintf(stderr, "mediagen: cannot write %s: %s\n", qPrintable(path),
                         qPrintable(out.errorString()));
            allWritten = false;
        }
    }
    return allWritten;
}
