#pragma once

#include <QByteArray>
#include <QImage>

// Encodes a picture as an uncompressed 24-bit Windows bitmap: the format the game's
// cell pictures are stored in. Any alpha is dropped, so callers paint on an opaque
// background first.
class BmpWriter
{
public:
    static QByteArray encode(const QImage &image);
};
