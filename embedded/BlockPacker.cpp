#include "embedded/BlockPacker.h"

#include "embedded/Blowfish.h"
#include "embedded/Compression.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>

ByteVector DeflateRaw(const unsigned char* data, uint32_t size)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        std::abort();
    ByteVector out(deflateBound(&stream, size));
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = size;
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    // deflateBound leaves room for the whole stream, so one call finishes it.
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        std::abort();
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

ByteVector BuildPackedResource(const ByteVector& payload, uint32_t unpackedSize, uint32_t unpackedCrc,
                               uint32_t itemCount)
{
    const uint32_t packedSize = static_cast<uint32_t>(payload.size());
    PackedResource header;
    header.storedSize = CBlowfish::PaddedSize(PackedResource::kHeaderSize + packedSize);
    header.unpackedSize = unpackedSize;
    header.packedSize = packedSize;
    header.unpackedCrc = unpackedCrc;
    header.packedCrc = Crc32(0, payload.data(), packedSize);
    header.itemCount = itemCount;
    ByteVector block(header.storedSize, 0);
    header.Write(block.data());
    std::copy(payload.begin(), payload.end(), block.begin() + PackedResource::kHeaderSize);
    return block;
}

void EncipherBlock(ByteVector& block, const unsigned char* key, int32_t keyLength)
{
    CBlowfish cipher;
    cipher.Init().SetKey(key, keyLength);
    cipher.Encrypt(block.data(), block.data(), static_cast<uint32_t>(block.size()));
}

ByteVector PackBlock(const unsigned char* data, uint32_t size, uint32_t itemCount, const unsigned char* key,
                     int32_t keyLength)
{
    ByteVector block =
        BuildPackedResource(DeflateRaw(data, size), size, Crc32(0, data, size), itemCount);
    EncipherBlock(block, key, keyLength);
    return block;
}
