#include "binaryfile.h"

#include <QFile>

BinaryFile BinaryFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return BinaryFile(QByteArray());
    return BinaryFile(file.readAll());
}

std::uint8_t BinaryFile::u8(int offset) const
{
    return offset >= 0 && offset < m_bytes.size() ? std::uint8_t(m_bytes.at(offset)) : 0;
}
