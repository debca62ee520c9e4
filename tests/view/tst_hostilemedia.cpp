// Files a player (or an accident) may put in place of the game's pictures and cursor:
// none may block, crash or swamp the game. Each is refused from what can be learnt
// without decoding it, with one warning naming the file, and the game goes on as
// for a missing file; a link to a good file and a name in other letters still serve.
#include "files/installfolder.h"
#include "files/mediabytes.h"
#include "view/fields/picturefiles.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A BMP header of width x height with RLE8 data that ends at once: a kilobyte on disk
// that a decoder would turn into width * height bytes.
QByteArray rleBitmapHeader(int width, int height)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 paletteBytes = 256 * 4;
    const quint32 dataOffset = 14 + 40 + paletteBytes;
    out << quint16(0x4d42) << quint32(dataOffset + 2) << quint32(0) << dataOffset;
    out << quint32(40) << qint32(width) << qint32(height) << quint16(1) << quint16(8)
        << quint32(1) /* RLE8 */ << quint32(2) << qint32(2835) << qint32(2835) << quint32(256)
        << quint32(0);
    for (quint32 i = 0; i < 256; ++i)
        out << quint32(i * 0x010101);
    out << quint8(0) << quint8(1); // end of bitmap
    return bytes;
}

QByteArray largePng(int side)
{
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray smallPicture(const char *format)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList warnings;
void recordWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && QByteArray(context.category) == "seabattle.media")
        warnings << message;
}

} // namespace

class HostileMediaTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qInstallMessageHandler(recordWarning); }
    void init();
    void hostileFileIsRefusedWithOneWarning_data();
    void hostileFileIsRefusedWithOneWarning();
    void usableFileIsFoundThroughLinksAndLetterCase_data();
    void usableFileIsFoundThroughLinksAndLetterCase();
    void pictureIsDecodedOncePerChangeOfTheFile();

private:
    QString placed(const QString &name) { return m_folder->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_folder;
};

void HostileMediaTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    InstallFolder::setPathForTesting(m_folder->path());
    warnings.clear();
}

void HostileMediaTest::hostileFileIsRefusedWithOneWarning_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hostile");
    QTest::addColumn<QString>("reason");
    const QStringList pictures = {"XField.bmp", "Ship41.bmp", "picBoom.bmp", "Sn.cur"};
    for (const QString &name : pictures) {
        const auto row = [&](const char *hostile, const char *reason) {
            QTest::addRow("%s %s", qPrintable(name), hostile) << name << hostile << reason;
        };
        row("huge RLE bitmap", "pixels");
        row("huge PNG", "pixels");
        row("named pipe", "named pipe");
        row("link to a device", "device");
        row("folder", "folder");
        row("oversized file", "bytes");
        row("random bytes", "");
    }
}

void HostileMediaTest::hostileFileIsRefusedWithOneWarning()
{
    QFETCH(QString, name);
    QFETCH(QString, hostile);
    QFETCH(QString, reason);
    const QString path = placed(name);
    if (hostile == "huge RLE bitmap")
        writeFile(path, rleBitmapHeader(6000, 6000));
    else if (hostile == "huge PNG")
        writeFile(path, largePng(3000));
    else if (hostile == "named pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (hostile == "link to a device")
        QVERIFY(QFile::link("/dev/zero", path));
    else if (hostile == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (hostile == "oversized file")
        QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile(path).resize(64 << 20));
    else
        writeFile(path, QByteArray(4096, '\x5a'));

    // Used as often as a game uses it: one warning, and nothing to show.
    for (int use = 0; use < 3; ++use) {
        if (name == "Sn.cur")
            QVERIFY(!PictureFiles::readCursor(name));
        else
            QVERIFY(PictureFiles::readImage(name).isNull());
    }
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(path), qPrintable(warnings.first()));
    QVERIFY2(warnings.first().contains(reason), qPrintable(warnings.first()));
}

void HostileMediaTest::usableFileIsFoundThroughLinksAndLetterCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("link to a picture") << "XField.bmp"
                                       << "XField.bmp" << true;
    QTest::newRow("lower case") << "XField.bmp"
                                << "xfield.bmp" << false;
    QTest::newRow("upper case") << "Ship11.bmp"
                                << "SHIP11.BMP" << false;
    QTest::newRow("cursor, other case") << "Sn.cur"
                                        << "sn.CUR" << false;
}

void HostileMediaTest::usableFileIsFoundThroughLinksAndLetterCase()
{
    QFETCH(QString, name);
    QFETCH(QString, onDisk);
    QFETCH(bool, throughLink);
    const QByteArray bytes = smallPicture(name.endsWith(".cur") ? "ICO" : "BMP");
    if (throughLink) {
        writeFile(placed("elsewhere.bmp"), bytes);
        QVERIFY(QFile::link(placed("elsewhere.bmp"), placed(onDisk)));
    } else {
        writeFile(placed(onDisk), bytes);
    }
    if (name.endsWith(".cur"))
        QVERIFY(PictureFiles::readCursor(name));
    else
        QCOMPARE(PictureFiles::readImage(name).size(), QSize(32, 32));
    QVERIFY(warnings.isEmpty());

    // The exact name wins over one in other letters.
    if (!throughLink && !name.endsWith(".cur")) {
        writeFile(placed(name), QByteArray("not a picture"));
        QVERIFY(PictureFiles::readImage(name).isNull());
        QCOMPARE(MediaBytes::path(name), placed(name));
    }
}

void HostileMediaTest::pictureIsDecodedOncePerChangeOfTheFile()
{
    // A hundred miss marks share one decoded picture; a new file is read afresh.
    writeFile(placed("XField.bmp"), smallPicture("BMP"));
    const QPixmap first = PictureFiles::readPixmap("XField.bmp");
    for (int cell = 0; cell < 100; ++cell)
        QCOMPARE(PictureFiles::readPixmap("XField.bmp").cacheKey(), first.cacheKey());

    QImage other(16, 8, QImage::Format_RGB32);
    other.fill(Qt::blue);
    QVERIFY(other.save(placed("next.bmp"), "BMP"));
    QVERIFY(QFile::remove(placed("XField.bmp")));
    QVERIFY(QFile::rename(placed("next.bmp"), placed("XField.bmp")));
    QCOMPARE(PictureFiles::readPixmap("XField.bmp").size(), QSize(16, 8));
}

QTEST_MAIN(HostileMediaTest)
#include "tst_hostilemedia.moc"
