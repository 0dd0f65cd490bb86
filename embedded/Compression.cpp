#include "embedded/Compression.h"

#include <zlib.h>

uint32_t Crc32(uint32_t crc, const void* data, uint32_t length)
{
    if (data == nullptr)
        return 0;
    return static_cast<uint32_t>(crc32(crc, static_cast<const Bytef*>(data), length));
}

uint32_t InflateRaw(unsigned char* destination, uint32_t destinationLength, const unsigned char* source,
                    uint32_t sourceLength)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return kInflateFailed;
    stream.next_in = const_cast<Bytef*>(source);
    stream.avail_in = sourceLength;
    stream.next_out = destination;
    stream.avail_out = destinationLength;
    const int status = inflate(&stream, Z_FINISH);
    const uint32_t produced = static_cast<uint32_t>(stream.total_out);
    inflateEnd(&stream);
    return status == Z_STREAM_END ? produced : kInflateFailed;
}
