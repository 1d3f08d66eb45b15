// ZIP member decoding through zlib.
#include "catalogue/Inflate.h"

#include <zlib.h>

bool InflateRaw(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize) {
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return false;
    }
    stream.next_in = const_cast<Bytef*>(packed);
    stream.avail_in = uInt(packedSize);
    stream.next_out = out;
    stream.avail_out = uInt(outSize);
    int result = inflate(&stream, Z_FINISH);
    bool complete = result == Z_STREAM_END && stream.total_out == outSize;
    inflateEnd(&stream);
    return complete;
}

uint32_t ZipCrc32(const uint8_t* bytes, size_t n) {
    return uint32_t(crc32(crc32(0L, Z_NULL, 0), bytes, uInt(n)));
}
