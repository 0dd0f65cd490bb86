#pragma once
// One text record of a string table: a 32-bit little-endian header, then the characters.
// Header bit 31 set: UTF-8 bytes; clear: UTF-16LE units. Bits 29-30 are ignored; bits 0-28
// hold the length in bytes (8-bit text) or in units (UTF-16 text). There is no terminator.
// Records are not aligned, so the header and UTF-16 units must be read bytewise.

#include <cstdint>

struct PackedString
{
    static constexpr uint32_t kUtf8Flag = 0x80000000u;
    static constexpr uint32_t kLengthMask = 0x1FFFFFFFu;
    static constexpr int kHeaderSize = 4;

    unsigned char m_header[kHeaderSize];

    uint32_t Header() const
    {
        return uint32_t(m_header[0]) | uint32_t(m_header[1]) << 8 | uint32_t(m_header[2]) << 16 |
               uint32_t(m_header[3]) << 24;
    }
    bool IsUtf8() const { return (Header() & kUtf8Flag) != 0; }
    // Bytes for 8-bit text, 16-bit units for UTF-16 text.
    uint32_t Length() const { return Header() & kLengthMask; }
    // The characters follow the header directly; UTF-16 units may be unaligned.
    const unsigned char* Characters() const { return m_header + kHeaderSize; }
};

static_assert(sizeof(PackedString) == PackedString::kHeaderSize, "PackedString is the header alone");
