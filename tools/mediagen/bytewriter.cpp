#include "bytewriter.h"

void ByteWriter::u16le(std::uint16_t value)
{
    u8(value & 0xff);
    u8(value >> 8);
}

void ByteWriter::u32le(std::uint32_t value)
{
    u16le(value & 0xffff);
    u16le(value >> 16);
}

void ByteWriter::u16be(std::uint16_t value)
{
    u8(value >> 8);
    u8(value & 0xff);
}

void ByteWriter::u32be(std::uint32_t value)
{
    u16be(value >> 16);
    u16be(value & 0xffff);
}

void ByteWriter::varLen(std::uint32_t value)
{
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7f;
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        u8(groups[--count] | 0x80);
    u8(groups[0]);
}
