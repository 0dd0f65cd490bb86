#pragma once
// Header of a deciphered embedded block: six little-endian 32-bit words, then the raw DEFLATE
// payload (packedSize bytes), then padding up to storedSize, a multiple of 8.

#include <cstdint>

struct PackedResource {
    static constexpr uint32_t kHeaderSize = 24;

    uint32_t storedSize;    // the whole block: header, payload and padding
    uint32_t unpackedSize;
    uint32_t packedSize;
    uint32_t unpackedCrc;
    uint32_t packedCrc;     // over the packedSize payload bytes
    uint32_t itemCount;     // entry count of a string table; other blocks ignore it

    static PackedResource Read(const unsigned char* bytes)
    {
        PackedResource header;
        header.storedSize = Word(bytes, 0);
        header.unpackedSize = Word(bytes, 4);
        header.packedSize = Word(bytes, 8);
        header.unpackedCrc = Word(bytes, 12);
        header.packedCrc = Word(bytes, 16);
        header.itemCount = Word(bytes, 20);
        return header;
    }

    void Write(unsigned char* bytes) const
    {
        const uint32_t words[6] = {storedSize, unpackedSize, packedSize, unpackedCrc, packedCrc, itemCount};
        for (int i = 0; i < 6; ++i)
            for (int k = 0; k < 4; ++k)
                bytes[4 * i + k] = static_cast<unsigned char>(words[i] >> (8 * k));
    }

private:
    static uint32_t Word(const unsigned char* bytes, int offset)
    {
        const unsigned char* p = bytes + offset;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
};
