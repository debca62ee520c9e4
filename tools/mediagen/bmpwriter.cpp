#include "bmpwriter.h"

#include "bytewriter.h"

QByteArray BmpWriter::encode(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    // Each row is padded to a multiple of four bytes.
    const int rowBytes = (width * 3 + 3) & ~3;
    const std::uint32_t pixelBytes = std::uint32_t(rowBytes) * std::uint32_t(height);
    const std::uint32_t headerBytes = 14 + 40;

    ByteWriter out;
    out.text("BM");
    out.u32le(headerBytes + pixelBytes);
    out.u32le(0);
    out.u32le(headerBytes);

    out.u32le(40); // BITMAPINFOHEADER
    out.i32le(width);
    out.i32le(height); // positive: rows are stored bottom-up
    out.u16le(1);
    out.u16le(24);
    out.u32le(0); // BI_RGB, no compression
    out.u32le(pixelBytes);
    out.i32le(2835); // 72 dots per inch
    out.i32le(2835);
    out.u32le(0);
    out.u32le(0);

    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.u8(qBlue(line[x]));
            out.u8(qGreen(line[x]));
            out.u8(qRed(line[x]));
        }
        for (int pad = width * 3; pad < rowBytes; ++pad)
            out.u8(0);
    }
    return out.bytes();
}
