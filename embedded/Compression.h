#pragma once
// The two zlib services the container needs: the CRC-32 of IEEE 802.3 and one-call inflation of a
// raw DEFLATE stream (no zlib or gzip wrapper, no Adler-32).

#include <cstdint>

// zlib's crc32: Crc32(0, "123456789", 9) is 0xCBF43926. A null data pointer gives 0.
uint32_t Crc32(uint32_t crc, const void* data, uint32_t length);

constexpr uint32_t kInflateFailed = 0xFFFFFFFFu;

// Inflates one raw DEFLATE stream into destination. Returns the bytes written, or kInflateFailed
// when the data is malformed, ends before the stream's final block, or would need more than
// destinationLength bytes. Input after the end of the stream is ignored.
uint32_t InflateRaw(unsigned char* destination, uint32_t destinationLength, const unsigned char* source,
                    uint32_t sourceLength);
