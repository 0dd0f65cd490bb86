#pragma once
// The packing side of the embedded-block format, for the build-time tool and the tests: deflate as
// a raw stream, prefix the header, pad to a multiple of 8 and encipher. CGuard::Unpack reverses it.

#include "embedded/PackedResource.h"

#include <cstdint>
#include <vector>

using ByteVector = std::vector<unsigned char>;

// Raw DEFLATE stream (no zlib wrapper) at the best compression; the same input always gives the
// same bytes with the same zlib.
ByteVector DeflateRaw(const unsigned char* data, uint32_t size);

// Header, payload and zero padding up to a multiple of 8, not yet enciphered. storedSize,
// packedSize and packedCrc are set from the payload; the other fields are taken as given.
ByteVector BuildPackedResource(const ByteVector& payload, uint32_t unpackedSize, uint32_t unpackedCrc,
                               uint32_t itemCount);

// Enciphers the whole buffer (a multiple of 8) in place with the cipher key.
void EncipherBlock(ByteVector& block, const unsigned char* key, int32_t keyLength);

// All of the above: the stored bytes of one embedded block holding data.
ByteVector PackBlock(const unsigned char* data, uint32_t size, uint32_t itemCount, const unsigned char* key,
                     int32_t keyLength);
