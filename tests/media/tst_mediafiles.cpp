// The media files of the installation folder: that each is there, in the source
// folder and next to the executable, and has the format and shape the game needs.
#include "binaryfile.h"
#include "midiscan.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QtTest>

namespace {
const QColor sea(69, 87, 129);
const QStringList mediaFiles {"XField.bmp", "Ship11.bmp",  "Ship12.bmp", "Ship21.bmp",
                              "Ship22.bmp", "Ship31.bmp",  "Ship32.bmp", "Ship41.bmp",
                              "Ship42.bmp", "picBoom.bmp", "Sn.cur",     "seasound.mid",
                              "Boom.wav"};

QString sourceMedia(const QString &name)
{
    return QDir(qEnvironmentVariable("SEABATTLE_SOURCE_DIR")).filePath("media/" + name);
}

QString gameMedia(const QString &name)
{
    return QDir(qEnvironmentVariable("SEABATTLE_GAME_DIR")).filePath(name);
}

bool isSea(QRgb pixel, int tolerance = 2)
{
    return std::abs(qRed(pixel) - sea.red()) <= tolerance
        && std::abs(qGreen(pixel) - sea.green()) <= tolerance
        && std::abs(qBlue(pixel) - sea.blue()) <= tolerance;
}

// Empty when the file is an uncompressed 24-bit bitmap of the given size.
QString bmpProblem(const BinaryFile &bmp, int width, int height)
{
    const int rowBytes = (width * 3 + 3) & ~3;
    if (bmp.text(0, 2) != "BM")
        return "no BM signature";
    if (bmp.u32le(14) < 40)
        return "no BITMAPINFOHEADER";
    if (bmp.u16le(28) != 24)
        return QString("%1 bits a pixel").arg(bmp.u16le(28));
    if (bmp.u32le(30) != 0)
        return "compressed";
    if (bmp.i32le(18) != width || std::abs(bmp.i32le(22)) != height)
        return QString("%1 x %2 pixels").arg(bmp.i32le(18)).arg(bmp.i32le(22));
    if (qint64(bmp.u32le(10)) + qint64(rowBytes) * height > bmp.size())
        return "pixel data cut short";
    return {};
}

// The smallest rectangle holding every pixel that is not sea.
QRect shipBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!isSea(image.pixel(x, y), 6))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}
} // namespace

class MediaFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyFileIsInBothFolders_data();
    void everyFileIsInBothFolders();
    void shipStripsAreSquaresAlongTheShip_data();
    void shipStripsAreSquaresAlongTheShip();
    void cellPicturesSitInTheSea_data();
    void cellPicturesSitInTheSea();
    void cursorIsAnAimingCrossWithCentredHotspot();
    void hitSoundIsShortPcmStartingAndEndingOnSilence();
    void tuneIsGeneralMidiOfAboutFiftySeconds();
};

void MediaFilesTest::everyFileIsInBothFolders_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : mediaFiles)
        QTest::newRow(qPrintable(name)) << name;
}

void MediaFilesTest::everyFileIsInBothFolders()
{
    // Every media file the game reads is committed, and the build copies it unchanged
    // next to the executable, where the game looks for it.
    QFETCH(QString, name);
    const BinaryFile source = BinaryFile::read(sourceMedia(name));
    const BinaryFile game = BinaryFile::read(gameMedia(name));
    QVERIFY2(source.size() > 0, qPrintable(sourceMedia(name)));
    QVERIFY2(game.bytes() == source.bytes(),
             qPrintable(gameMedia(name) + " differs or is missing"));
}

void MediaFilesTest::shipStripsAreSquaresAlongTheShip_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("orientation");
    for (int size = 1; size <= 4; ++size)
        for (int orientation = 1; orientation <= 2; ++orientation)
            QTest::addRow("Ship%d%d", size, orientation) << size << orientation;
}

void MediaFilesTest::shipStripsAreSquaresAlongTheShip()
{
    // A strip is `size` equal squares in a row (code 1) or a column (code 2), a 24-bit
    // bitmap; one ship runs along it through every square, with sea at its ends.
    QFETCH(int, size);
    QFETCH(int, orientation);
    const QString path = gameMedia(QString("Ship%1%2.bmp").arg(size).arg(orientation));
    const bool upright = orientation == 2;
    const QSize expected = upright ? QSize(66, 66 * size) : QSize(66 * size, 66);
    QCOMPARE(bmpProblem(BinaryFile::read(path), expected.width(), expected.height()), QString());
    const QImage strip(path);
    QCOMPARE(strip.size(), expected);

    for (const QPoint corner : {QPoint(0, 0), QPoint(expected.width() - 1, expected.height() - 1)})
        QVERIFY2(isSea(strip.pixel(corner)), "the corners of a strip are open sea");
    const QRect ship = shipBounds(strip);
    const int along = upright ? ship.height() : ship.width();
    const int across = upright ? ship.width() : ship.height();
    QVERIFY2(along >= 66 * size * 3 / 4, "the ship runs through the whole strip");
    QVERIFY2(across < 66, "the ship stays inside its row or column");
    // The middle of every square shows part of the ship.
    for (int piece = 0; piece < size; ++piece) {
        const QPoint middle = upright ? QPoint(33, 66 * piece + 33) : QPoint(66 * piece + 33, 33);
        QVERIFY2(!isSea(strip.pixel(middle), 6), qPrintable(QString("piece %1").arg(piece + 1)));
    }
}

void MediaFilesTest::cellPicturesSitInTheSea_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("miss mark") << "XField.bmp";
    QTest::newRow("hit picture") << "picBoom.bmp";
}

void MediaFilesTest::cellPicturesSitInTheSea()
{
    // A cell picture is a 66 x 66 24-bit bitmap whose rim is the sea colour, so it
    // blends with the field around it, and whose middle carries the mark.
    QFETCH(QString, name);
    QCOMPARE(bmpProblem(BinaryFile::read(gameMedia(name)), 66, 66), QString());
    const QImage picture(gameMedia(name));
    QCOMPARE(picture.size(), QSize(66, 66));
    for (int i = 0; i < 66; ++i) {
        for (const QPoint rim : {QPoint(i, 0), QPoint(i, 65), QPoint(0, i), QPoint(65, i)})
            QVERIFY2(isSea(picture.pixel(rim), 4),
                     qPrintable(QString("rim pixel %1,%2").arg(rim.x()).arg(rim.y())));
    }
    QVERIFY(!isSea(picture.pixel(33, 33), 30));
}

void MediaFilesTest::cursorIsAnAimingCrossWithCentredHotspot()
{
    // The cursor file is a 32 x 32 Windows cursor with its hotspot in the middle; Qt
    // loads it with a transparent background and both light and dark lines, so it
    // shows over the light bevel and the dark sea.
    const BinaryFile cur = BinaryFile::read(gameMedia("Sn.cur"));
    QCOMPARE(cur.u16le(0), 0);
    QCOMPARE(cur.u16le(2), 2); // a cursor
    QCOMPARE(cur.u16le(4), 1);
    QCOMPARE(cur.u8(6), 32);
    QCOMPARE(cur.u8(7), 32);
    QCOMPARE(cur.u16le(10), 16); // hotspot x
    QCOMPARE(cur.u16le(12), 16); // hotspot y
    const int dib = int(cur.u32le(18));
    QCOMPARE(int(cur.u32le(14)), cur.size() - dib);
    QCOMPARE(cur.i32le(dib + 8), 64); // colour image and mask
    QCOMPARE(cur.u16le(dib + 14), 32);
    // The mask's top-left bit (the last mask row is stored first) marks the corner transparent.
    const int maskStart = dib + 40 + 32 * 32 * 4;
    QVERIFY(cur.u8(maskStart + 31 * 4) & 0x80);

    const QImage image
        = QPixmap(gameMedia("Sn.cur")).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(31, 31)), 0);
    QCOMPARE(qAlpha(image.pixel(16, 16)), 255);
    int light = 0, dark = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) > 200) {
                light += qGray(p) > 200;
                dark += qGray(p) < 100;
            }
        }
    }
    QVERIFY2(light > 20 && dark > 20,
             qPrintable(QString("light %1, dark %2").arg(light).arg(dark)));
}

void MediaFilesTest::hitSoundIsShortPcmStartingAndEndingOnSilence()
{
    // The hit sound is 16-bit PCM at a rate every backend plays, about a second long,
    // and starts and ends near zero so that looping it does not click.
    const BinaryFile wav = BinaryFile::read(gameMedia("Boom.wav"));
    QCOMPARE(wav.text(0, 4), QByteArray("RIFF"));
    QCOMPARE(wav.text(8, 4), QByteArray("WAVE"));
    int at = 12, format = 0, channels = 0, rate = 0, bits = 0, data = -1, dataBytes = 0;
    while (at + 8 <= wav.size()) {
        const int length = int(wav.u32le(at + 4));
        if (wav.text(at, 4) == "fmt ") {
            format = wav.u16le(at + 8);
            channels = wav.u16le(at + 10);
            rate = int(wav.u32le(at + 12));
            bits = wav.u16le(at + 22);
        } else if (wav.text(at, 4) == "data") {
            data = at + 8;
            dataBytes = std::min(length, wav.size() - data);
        }
        at += 8 + length + (length & 1);
    }
    QCOMPARE(format, 1);
    QCOMPARE(bits, 16);
    QVERIFY(channels == 1 || channels == 2);
    QVERIFY(rate == 44100 || rate == 22050);
    QVERIFY(data > 0);
    const int frames = dataBytes / (2 * channels);
    const double seconds = double(frames) / rate;
    QVERIFY2(seconds >= 1.2 && seconds <= 2.0, qPrintable(QString::number(seconds)));

    int peak = 0;
    for (int i = 0; i < frames * channels; ++i)
        peak = std::max(peak, std::abs(int(wav.i16le(data + 2 * i))));
    QVERIFY2(peak > 16000, "loud enough to be heard");
    for (int c = 0; c < channels; ++c) {
        QVERIFY(std::abs(wav.i16le(data + 2 * c)) < 330);
        QVERIFY(std::abs(wav.i16le(data + 2 * ((frames - 1) * channels + c))) < 330);
    }
}

void MediaFilesTest::tuneIsGeneralMidiOfAboutFiftySeconds()
{
    // The tune is a well-formed MIDI file of type 0 or 1 with notes and instruments,
    // ending after 45 to 52 seconds so that the restart every 52 s never cuts it off.
    const MidiScan scan = MidiScan::of(BinaryFile::read(gameMedia("seasound.mid")));
    QCOMPARE(scan.error, QString());
    QVERIFY(scan.format == 0 || scan.format == 1);
    QCOMPARE(scan.tracksRead, scan.declaredTracks);
    QVERIFY(scan.everyTrackEnded);
    QVERIFY(scan.noteOns > 100);
    QVERIFY(scan.programChanges > 0);
    QVERIFY2(scan.seconds >= 45.0 && scan.seconds <= 52.0,
             qPrintable(QString::number(scan.seconds)));
}

QTEST_MAIN(MediaFilesTest)
#include "tst_mediafiles.moc"
