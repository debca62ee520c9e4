// The committed media are what the generator makes from its sources, so a change to the
// generator that was not run and committed (or a hand edit of a file) is caught. Pictures are
// compared as pictures: a newer Qt anti-aliases their edges a little differently, and that
// alone must not fail the test, while a wrong picture still does.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A pixel whose channels all lie within this of the committed one is the same pixel.
constexpr int Noise = 3;

int channel(QRgb pixel, int which)
{
    return (pixel >> (8 * which)) & 0xff;
}

// Whether the pixel lies, channel by channel, between the darkest and the lightest of the
// committed picture's pixels around (x, y): an edge covered a little more or less, not a colour
// that was not there.
bool withinNeighbours(QRgb pixel, const QImage &committed, int x, int y)
{
    for (int which = 0; which < 4; ++which) {
        int low = 255, high = 0;
        for (int j = std::max(0, y - 1); j <= std::min(committed.height() - 1, y + 1); ++j) {
            const QRgb *line = reinterpret_cast<const QRgb *>(committed.constScanLine(j));
            for (int i = std::max(0, x - 1); i <= std::min(committed.width() - 1, x + 1); ++i) {
                low = std::min(low, channel(line[i], which));
                high = std::max(high, channel(line[i], which));
            }
        }
        const int value = channel(pixel, which);
        if (value < low - Noise || value > high + Noise)
            return false;
    }
    return true;
}

// Why the generated picture is not the committed one, or nothing when it is. Anti-aliasing
// differs from one Qt to the next along the outlines only: the same size, each pixel that
// differs within the range of the committed pixels around it (an edge moved by less than a
// pixel), and no more of them than along one side and the next of the picture. Pixels are
// compared premultiplied, so a transparent pixel's hidden colour does not count.
QString pictureDifference(const QImage &made, const QImage &committed)
{
    if (made.isNull() || committed.isNull())
        return QStringLiteral("cannot be decoded");
    if (made.size() != committed.size())
        return QStringLiteral("is %1x%2, not %3x%4")
            .arg(made.width())
            .arg(made.height())
            .arg(committed.width())
            .arg(committed.height());
    const QImage a = made.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = committed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *lineA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *lineB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            int off = 0;
            for (int which = 0; which < 4; ++which)
                off = std::max(off, std::abs(channel(lineA[x], which) - channel(lineB[x], which)));
            if (off <= Noise)
                continue;
            ++differing;
            if (!withinNeighbours(lineA[x], b, x, y))
                return QStringLiteral("has a colour at (%1, %2) that none of the pixels around "
                                      "it has")
                    .arg(x)
                    .arg(y);
        }
    }
    const int allowed = a.width() + a.height();
    if (differing > allowed)
        return QStringLiteral("differs in %1 pixels, more than %2").arg(differing).arg(allowed);
    return {};
}

bool isPicture(const QString &path)
{
    return path.endsWith(QLatin1String(".png")) || path.endsWith(QLatin1String(".bmp"));
}

QString sourceFile(const QString &path)
{
    return QDir(qEnvironmentVariable("SEABATTLE_SOURCE_DIR")).filePath(path);
}
} // namespace

class MediaGeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void generatorReproducesTheCommittedFiles();
    void wrongPicturesAreTold_data();
    void wrongPicturesAreTold();
};

void MediaGeneratorTest::generatorReproducesTheCommittedFiles()
{
    // A fresh run into an empty folder writes every media file, window picture and icon as
    // committed, and nothing that is not committed: pictures alike as pictures (and a BMP of
    // the same length, so of the same layout), everything else byte for byte.
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(MEDIAGEN_PATH), {out.path()});
    QVERIFY2(generator.waitForFinished(120000), qPrintable(generator.errorString()));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(generator.exitCode(), 0);

    const QDir source(qEnvironmentVariable("SEABATTLE_SOURCE_DIR"));
    QStringList made;
    QDirIterator files(out.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        made << QDir(out.path()).relativeFilePath(files.next());
    made.sort();
    QVERIFY(made.size() >= 24);
    for (const QString &path : made) {
        QFile generated(QDir(out.path()).filePath(path));
        QFile committed(source.filePath(path));
        QVERIFY(generated.open(QIODevice::ReadOnly));
        QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(path + " is not committed"));
        const QByteArray madeBytes = generated.readAll(), committedBytes = committed.readAll();
        if (madeBytes == committedBytes)
            continue;
        QVERIFY2(isPicture(path),
                 qPrintable(path + " differs from the generator's output; run mediagen"));
        QVERIFY2(!path.endsWith(QLatin1String(".bmp")) || madeBytes.size() == committedBytes.size(),
                 qPrintable(path + " is not laid out as the generator writes it; run mediagen"));
        const QString why
            = pictureDifference(QImage::fromData(madeBytes), QImage::fromData(committedBytes));
        QVERIFY2(why.isEmpty(), qPrintable(path + " " + why + "; run mediagen"));
    }
}

void MediaGeneratorTest::wrongPicturesAreTold_data()
{
    // Changes made to a committed icon, and whether the comparison must still take it for the
    // same picture. Qt 6.11 anti-aliases the icons' outlines otherwise than Qt 6.4: its
    // renderings are kept in newer-qt/.
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("same");

    for (int pixels : {16, 256}) {
        const QByteArray size = QByteArray::number(pixels) + "px: ";
        QTest::newRow(size + "as Qt 6.11 draws it") << pixels << "newer Qt" << true;
        QTest::newRow(size + "moved by a pixel") << pixels << "moved" << false;
        QTest::newRow(size + "mirrored") << pixels << "mirrored" << false;
        QTest::newRow(size + "a 3x3 blot") << pixels << "blot" << false;
        QTest::newRow(size + "all a little darker") << pixels << "darker" << false;
        QTest::newRow(size + "another size") << pixels << "scaled" << false;
    }
}

void MediaGeneratorTest::wrongPicturesAreTold()
{
    // The tolerance lets another Qt's anti-aliasing through and nothing else: a picture moved,
    // mirrored, blotted, recoloured or resized is told from the committed one.
    QFETCH(int, pixels);
    QFETCH(QString, change);
    QFETCH(bool, same);

    const QImage icon = QImage(sourceFile(QStringLiteral("desktop/icons/hicolor/%1x%1/apps/"
                                                         "org.seabattle.SeaBattle.png")
                                              .arg(pixels)))
                            .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(icon.size(), QSize(pixels, pixels));
    QImage changed = icon;
    if (change == QLatin1String("newer Qt")) {
        changed
            = QImage(sourceFile(QStringLiteral("tests/media/newer-qt/icon-%1.png").arg(pixels)));
    } else if (change == QLatin1String("moved")) {
        changed.fill(Qt::transparent);
        QPainter(&changed).drawImage(1, 0, icon);
    } else if (change == QLatin1String("mirrored")) {
        changed = icon.mirrored(true, false);
    } else if (change == QLatin1String("blot")) {
        QPainter(&changed).fillRect(pixels / 2 - 1, pixels / 2 - 1, 3, 3, Qt::magenta);
    } else if (change == QLatin1String("darker")) {
        for (int y = 0; y < pixels; ++y) {
            for (int x = 0; x < pixels; ++x) {
                const QRgb p = icon.pixel(x, y);
                changed.setPixel(x, y,
                                 qRgba(std::max(0, qRed(p) - 8), std::max(0, qGreen(p) - 8),
                                       std::max(0, qBlue(p) - 8), qAlpha(p)));
            }
        }
    } else {
        changed = icon.scaled(pixels + 2, pixels + 2);
    }
    QVERIFY(changed != icon);
    const QString why = pictureDifference(changed, icon);
    QVERIFY2(why.isEmpty() == same, qPrintable(why.isEmpty() ? "taken for the same" : why));
}

QTEST_MAIN(MediaGeneratorTest)
#include "tst_mediagen.moc"
