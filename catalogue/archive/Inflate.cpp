// ZIP member decoding through zlib.
#include "catalogue/archive/Inflate.h"

#include <zlib.h>

#include <algorithm>

#include "catalogue/archive/ArchiveKind.h"

// Bytes inflated per call, so the output's window can move between calls.
static constexpr size_t kInflateStepBytes = 64 * 1024;

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

namespace {

// Owns a zlib stream for one member.
class Inflater {
   public:
    Inflater() {
        ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
    }
    ~Inflater() {
        if (ready_) {
            inflateEnd(&stream_);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates into out; 0 when done, else kArchiveErrorBroken.
    int Run(PackedFeed* feed, MemberOutput* out, bool whole) {
        if (!ready_) {
            return kArchiveErrorBroken;
        }
        const size_t limit = out->Limit();
        size_t position = 0;
        bool fed = true;
        for (;;) {
            if (position == limit && !whole) {
                return 0;
            }
            if (stream_.avail_in == 0 && fed) {
                fed = Feed(feed);
            }
            // At the limit a whole member's stream must end: one spare byte
            // shows whether it would go on.
            uint8_t spare = 0;
            const size_t step = std::min(kInflateStepBytes, limit - position);
            uint8_t* to = step != 0 ? out->Room(position, step) : &spare;
            if (!to) {
                return kArchiveErrorBroken;
            }
            const size_t room = step != 0 ? step : 1;
            stream_.next_out = to;
            stream_.avail_out = uInt(room);
            const int result = inflate(&stream_, Z_NO_FLUSH);
            const size_t made = room - stream_.avail_out;
            if (step == 0 && made != 0) {
                return kArchiveErrorBroken;  // more bytes than the member holds
            }
            position += made;
            if (result == Z_STREAM_END) {
                return position == limit ? 0 : kArchiveErrorBroken;
            }
            if ((result != Z_OK && result != Z_BUF_ERROR) || (made == 0 && stream_.avail_in == 0 && !fed)) {
                return kArchiveErrorBroken;  // corrupt, or the packed bytes ran out first
            }
        }
    }

   private:
    bool Feed(PackedFeed* feed) {
        const uint8_t* piece = nullptr;
        size_t size = 0;
        if (!feed->Next(&piece, &size)) {
            return false;
        }
        stream_.next_in = const_cast<Bytef*>(piece);
        stream_.avail_in = uInt(size);
        return true;
    }

    z_stream stream_ = {};
    bool ready_ = false;
};

}  // namespace

int InflateMember(PackedFeed* feed, MemberOutput* out, bool whole) {
    Inflater inflater;
    return inflater.Run(feed, out, whole);
}

uint32_t ZipCrc32(const uint8_t* bytes, size_t n) {
    return ZipCrc32From(bytes, n, 0);
}

uint32_t ZipCrc32From(const uint8_t* bytes, size_t n, uint32_t crc) {
    return uint32_t(crc32(crc, bytes, uInt(n)));
}
