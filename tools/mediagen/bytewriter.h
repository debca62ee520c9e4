#pragma once

#include <QByteArray>

#include <cstdint>

// Appends whole numbers to a byte array in a fixed byte order. The Windows formats
// (BMP, CUR, WAV) are little-endian, MIDI is big-endian.
class ByteWriter
{
public:
    void u8(std::uint8_t value) { m_bytes.append(char(value)); }
    void u16le(std::uint16_t value);
    void u32le(std::uint32_t value);
    void i16le(std::int16_t value) { u16le(std::uint16_t(value)); }
    void i32le(std::int32_t value) { u32le(std::uint32_t(value)); }
    void u16be(std::uint16_t value);
    void u32be(std::uint32_t value);
    // MIDI's variable-length quantity: seven bits a byte, high bit set on all but the last.
    void varLen(std::uint32_t value);
    void text(const char *ascii) { m_bytes.append(ascii); }
    void raw(const QByteArray &bytes) { m_bytes.append(bytes); }

    int size() const { return int(m_bytes.size()); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
