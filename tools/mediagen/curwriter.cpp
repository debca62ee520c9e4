#include "curwriter.h"

#include "bytewriter.h"

QByteArray CurWriter::encode(const QImage &image, QPoint hotspot)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width();
    const int height = argb.height();
    const int colourBytes = width * height * 4;
    const int maskRowBytes = ((width + 31) / 32) * 4;
    const int maskBytes = maskRowBytes * height;
    const int dibBytes = 40 + colourBytes + maskBytes;
    const int directoryBytes = 6 + 16;

    ByteWriter out;
    out.u16le(0);
    out.u16le(2); // a cursor, not an icon
    out.u16le(1);

    out.u8(std::uint8_t(width));
    out.u8(std::uint8_t(height));
    out.u8(0); // no palette
    out.u8(0);
    out.u16le(std::uint16_t(hotspot.x()));
    out.u16le(std::uint16_t(hotspot.y()));
    out.u32le(std::uint32_t(dibBytes));
    out.u32le(std::uint32_t(directoryBytes));

    out.u32le(40);
    out.i32le(width);
    out.i32le(height * 2); // colour image and mask stacked
    out.u16le(1);
    out.u16le(32);
    out.u32le(0);
    out.u32le(std::uint32_t(colourBytes + maskBytes));
    out.u32le(0);
    out.u32le(0);
    out.u32le(0);
    out.u32le(0);

    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = qAlpha(line[x]) == 0 ? 0 : line[x];
            out.u8(qBlue(pixel));
            out.u8(qGreen(pixel));
            out.u8(qRed(pixel));
            out.u8(qAlpha(pixel));
        }
    }
    // A set mask bit keeps the screen: faint edge pixels count as transparent for
    // systems that ignore the alpha channel.
    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int byte = 0; byte < maskRowBytes; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = byte * 8 + bit;
                if (x >= width || qAlpha(line[x]) < 128)
                    bits |= std::uint8_t(0x80 >> bit);
            }
            out.u8(bits);
        }
    }
    return out.bytes();
}
