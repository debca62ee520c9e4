#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The bytes of a media file with bounds-checked readers for both byte orders; a read
// past the end gives 0, so a truncated file fails the checks instead of crashing.
class BinaryFile
{
public:
    explicit BinaryFile(QByteArray bytes) : m_bytes(std::move(bytes)) { }
    static BinaryFile read(const QString &path);

    int size() const { return int(m_bytes.size()); }
    const QByteArray &bytes() const { return m_bytes; }
    QByteArray text(int offset, int length) const { return m_bytes.mid(offset, length); }
    std::uint8_t u8(int offset) const;
    std::uint16_t u16le(int offset) const
    {
        return std::uint16_t(u8(offset) | u8(offset + 1) << 8);
    }
    std::uint32_t u32le(int offset) const
    {
        return u16le(offset) | std::uint32_t(u16le(offset + 2)) << 16;
    }
    std::int16_t i16le(int offset) const { return std::int16_t(u16le(offset)); }
    std::int32_t i32le(int offset) const { return std::int32_t(u32le(offset)); }
    std::uint16_t u16be(int offset) const
    {
        return std::uint16_t(u8(offset) << 8 | u8(offset + 1));
    }
    std::uint32_t u32be(int offset) const
    {
        return std::uint32_t(u16be(offset)) << 16 | u16be(offset + 2);
    }

private:
    QByteArray m_bytes;
};
