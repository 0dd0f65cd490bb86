#pragma once
// Little-endian fields of the registry values and library images the installer reads and writes.

#include <cstdint>

inline uint16_t ReadLe16(const unsigned char* bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

inline uint32_t ReadLe32(const unsigned char* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

inline void WriteLe16(unsigned char* bytes, uint16_t value)
{
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}

inline void WriteLe32(unsigned char* bytes, uint32_t value)
{
    WriteLe16(bytes, uint16_t(value));
    WriteLe16(bytes + 2, uint16_t(value >> 16));
}
