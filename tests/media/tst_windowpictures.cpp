// The pictures compiled into the window and the application icons: the bevelled
// frame behind each field, the two turn arrows and the icon in every size.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

namespace {
QString sourceFile(const QString &path)
{
    return QDir(qEnvironmentVariable("SEABATTLE_SOURCE_DIR")).filePath(path);
}

// Where the window puts the left field's frame and cells.
const QPoint framePosition(32, 35);
const QRect leftFieldCells(48, 48, 32 * 9 + 33, 32 * 9 + 33);

const QRgb black = qRgb(0, 0, 0);
const QRgb lightBevel = qRgb(192, 192, 255);
const QRgb greyBevel = qRgb(128, 128, 128);
const QRgb sea = qRgb(69, 87, 129);
} // namespace

class WindowPicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldFrameHasBevelsAndSeaUnderTheCells_data();
    void fieldFrameHasBevelsAndSeaUnderTheCells();
    void turnArrowsPointTowardsTheirField_data();
    void turnArrowsPointTowardsTheirField();
    void iconsExistInEverySize_data();
    void iconsExistInEverySize();
};

void WindowPicturesTest::fieldFrameHasBevelsAndSeaUnderTheCells_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << "src/gui/resources/fieldframe.png" << 1;
    QTest::newRow("2x") << "src/gui/resources/fieldframe@2x.png" << 2;
}

void WindowPicturesTest::fieldFrameHasBevelsAndSeaUnderTheCells()
{
    // The frame is 354 x 351 (doubled for dense screens): black outline, light bevel
    // top and left, grey bevel bottom and right, and the sea colour everywhere under
    // the field's cells, so an empty cell looks the same with or without the frame.
    QFETCH(QString, file);
    QFETCH(int, scale);
    const QImage frame = QImage(sourceFile(file)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(frame.size(), QSize(354, 351) * scale);
    auto at = [&](int x, int y) { return frame.pixel(x * scale, y * scale) | 0xff000000; };

    QCOMPARE(at(0, 0), black);
    QCOMPARE(at(353, 350), black);
    QCOMPARE(at(177, 0), black);
    QCOMPARE(at(6, 175), lightBevel);
    QCOMPARE(at(177, 6), lightBevel);
    QCOMPARE(at(347, 175), greyBevel);
    QCOMPARE(at(177, 344), greyBevel);

    const QRect underCells = leftFieldCells.translated(-framePosition);
    for (int y = underCells.top() * scale; y <= underCells.bottom() * scale + scale - 1; ++y) {
        for (int x = underCells.left() * scale; x <= underCells.right() * scale + scale - 1; ++x) {
            if ((frame.pixel(x, y) | 0xff000000) != sea)
                QFAIL(qPrintable(QString("pixel %1,%2 is not sea").arg(x).arg(y)));
        }
    }
    // Just outside the interior the dark line of the bevel begins.
    const QRgb line = at(underCells.left() - 3, underCells.center().y());
    QVERIFY(line != sea && line != lightBevel);
}

void WindowPicturesTest::turnArrowsPointTowardsTheirField_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("pointsRight");
    QTest::newRow("LeftL") << "src/gui/resources/leftarrow.svg" << false;
    QTest::newRow("RightL") << "src/gui/resources/rightarrow.svg" << true;
}

void WindowPicturesTest::turnArrowsPointTowardsTheirField()
{
    // Each arrow renders from its 111 x 111 view box in the window's orange; the
    // computer's arrow points left and the player's right.
    QFETCH(QString, file);
    QFETCH(bool, pointsRight);
    QSvgRenderer renderer(sourceFile(file));
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(0, 0, 111, 111));

    QImage image(111, 111, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();

    // Opaque pixels in the few columns at each end of the arrow: the tip has only a
    // handful, the square tail of the shaft a whole column's worth.
    int first = 111, last = -1;
    for (int x = 0; x < 111; ++x) {
        for (int y = 0; y < 111; ++y) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    QVERIFY(last > first + 60);
    auto opaqueIn = [&](int from, int to) {
        int count = 0;
        for (int x = from; x <= to; ++x)
            for (int y = 0; y < 111; ++y)
                count += qAlpha(image.pixel(x, y)) > 128;
        return count;
    };
    const int leftEnd = opaqueIn(first, first + 5);
    const int rightEnd = opaqueIn(last - 5, last);
    QVERIFY2(pointsRight ? rightEnd * 2 < leftEnd : leftEnd * 2 < rightEnd,
             qPrintable(QString("left end %1, right end %2").arg(leftEnd).arg(rightEnd)));
    const QColor middle = image.pixelColor(55, 52);
    QVERIFY2(middle.red() > 200 && middle.green() > 80 && middle.green() < 170
                 && middle.blue() < 80,
             qPrintable(middle.name()));
}

void WindowPicturesTest::iconsExistInEverySize_data()
{
    QTest::addColumn<int>("pixels");
    for (int pixels : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", pixels, pixels) << pixels;
    QTest::newRow("scalable") << 0;
}

void WindowPicturesTest::iconsExistInEverySize()
{
    // The desktop finds the icon under its application id at every usual size, and the
    // scalable one renders; each is opaque in the middle and clear at the corners.
    QFETCH(int, pixels);
    const QString base = "desktop/icons/hicolor/%1/apps/org.seabattle.SeaBattle.%2";
    QImage icon;
    if (pixels == 0) {
        QSvgRenderer renderer(sourceFile(base.arg("scalable", "svg")));
        QVERIFY(renderer.isValid());
        icon = QImage(64, 64, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        renderer.render(&painter);
    } else {
        icon = QImage(sourceFile(base.arg(QString("%1x%1").arg(pixels), "png")));
        QCOMPARE(icon.size(), QSize(pixels, pixels));
    }
    QCOMPARE(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
}

QTEST_MAIN(WindowPicturesTest)
#include "tst_windowpictures.moc"
