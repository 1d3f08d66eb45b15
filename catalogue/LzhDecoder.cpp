// The method table, the CRC and the simple LZH methods: stored members and
// LArc's two LZSS variants.
#include "catalogue/LzhDecoder.h"

#include <cstring>

#include "catalogue/ArchiveKind.h"
#include "catalogue/LzhBits.h"

namespace {

enum class Method { kStored, kAdaptive, kEarlyAdaptive, kEarlyStatic, kStatic, kLzs, kLz5 };

struct MethodRow {
    const char* name;
    Method method;
    int dictionaryBits;
};

const MethodRow kMethods[] = {
    {"-lh0-", Method::kStored, 0},       {"-lh1-", Method::kAdaptive, 12}, {"-lh2-", Method::kEarlyAdaptive, 13},
    {"-lh3-", Method::kEarlyStatic, 13}, {"-lh4-", Method::kStatic, 12},   {"-lh5-", Method::kStatic, 13},
    {"-lh6-", Method::kStatic, 15},      {"-lh7-", Method::kStatic, 16},   {"-lzs-", Method::kLzs, 11},
    {"-lz4-", Method::kStored, 0},       {"-lz5-", Method::kLz5, 12},
};

// LArc's ring buffers start at a fixed place with fixed contents, and copies
// name absolute ring positions, so these two decode through a real ring.
class Ring {
   public:
    Ring(size_t size, size_t start) : size_(size), position_(start) {
    }
    uint8_t* Bytes() {
        return bytes_;
    }
    // Appends one byte to the output and the ring; false when out is full.
    bool Put(uint8_t byte, uint8_t* out, size_t outSize, size_t* produced) {
        if (*produced >= outSize) {
            return false;
        }
        out[(*produced)++] = byte;
        bytes_[position_] = byte;
        position_ = (position_ + 1) & (size_ - 1);
        return true;
    }
    void Copy(size_t from, size_t length, uint8_t* out, size_t outSize, size_t* produced) {
        for (size_t i = 0; i < length; i++) {
            if (!Put(bytes_[(from + i) & (size_ - 1)], out, outSize, produced)) {
                return;
            }
        }
    }

   private:
    uint8_t bytes_[4096];
    size_t size_;
    size_t position_;
};

// -lzs-: a flag bit, then 8 literal bits or an 11-bit position and 4-bit length.
int DecodeLzs(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize) {
    const size_t kRingSize = 2048;
    Ring ring(kRingSize, kRingSize - 17);
    std::memset(ring.Bytes(), ' ', kRingSize);
    LzhBitReader bits(packed, packedSize);
    size_t produced = 0;
    while (produced < outSize) {
        if (bits.Read(1)) {
            ring.Put(uint8_t(bits.Read(8)), out, outSize, &produced);
        } else {
            size_t from = bits.Read(11);
            size_t length = bits.Read(4) + 2;
            ring.Copy(from, length, out, outSize, &produced);
        }
        if (bits.PastEnd()) {
            return kArchiveErrorBroken;
        }
    }
    return 0;
}

// The -lz5- ring starts with runs of every byte value, both byte ramps,
// zeros and spaces, so that early copies find common patterns.
void FillLz5Ring(uint8_t* ring) {
    uint8_t* p = ring;
    for (int value = 0; value < 256; value++) {
        std::memset(p, value, 13);
        p += 13;
    }
    for (int value = 0; value < 256; value++) {
        *p++ = uint8_t(value);
    }
    for (int value = 0; value < 256; value++) {
        *p++ = uint8_t(255 - value);
    }
    std::memset(p, 0, 128);
    p += 128;
    std::memset(p, ' ', 110);
    p += 110;
    std::memset(p, 0, 18);
}

// -lz5-: a flag byte for eight commands, each a literal byte or two bytes of
// 12-bit ring position and 4-bit length.
int DecodeLz5(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize) {
    const size_t kRingSize = 4096;
    Ring ring(kRingSize, kRingSize - 18);
    FillLz5Ring(ring.Bytes());
    size_t in = 0;
    size_t produced = 0;
    while (produced < outSize) {
        if (in >= packedSize) {
            return kArchiveErrorBroken;
        }
        uint8_t flags = packed[in++];
        for (int bit = 0; bit < 8 && produced < outSize; bit++) {
            if (flags & (1 << bit)) {
                if (in >= packedSize) {
                    return kArchiveErrorBroken;
                }
                ring.Put(packed[in++], out, outSize, &produced);
            } else {
                if (packedSize - in < 2) {
                    return kArchiveErrorBroken;
                }
                size_t from = ((packed[in + 1] & 0xF0u) << 4) | packed[in];
                size_t length = (packed[in + 1] & 0x0Fu) + 3;
                in += 2;
                ring.Copy(from, length, out, outSize, &produced);
            }
        }
    }
    return 0;
}

}  // namespace

int LzhMethodIndex(const char* method) {
    for (size_t i = 0; i < sizeof kMethods / sizeof kMethods[0]; i++) {
        if (std::strcmp(method, kMethods[i].name) == 0) {
            return int(i);
        }
    }
    return -1;
}

struct Crc16Table {
    uint16_t entries[256];
    Crc16Table() {
        for (unsigned i = 0; i < 256; i++) {
            unsigned value = i;
            for (int bit = 0; bit < 8; bit++) {
                value = (value & 1) ? (value >> 1) ^ 0xA001u : value >> 1;
            }
            entries[i] = uint16_t(value);
        }
    }
};

uint16_t LzhCrc16(const uint8_t* bytes, size_t n, uint16_t crc) {
    static const Crc16Table table;
    for (size_t i = 0; i < n; i++) {
        crc = uint16_t((crc >> 8) ^ table.entries[(crc ^ bytes[i]) & 0xFF]);
    }
    return crc;
}

int DecodeLzh(const char* method, const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize) {
    int index = LzhMethodIndex(method);
    if (index < 0) {
        return kArchiveErrorMethod;
    }
    const MethodRow& row = kMethods[index];
    switch (row.method) {
        case Method::kStored:
            if (packedSize < outSize) {
                return kArchiveErrorBroken;
            }
            if (outSize != 0) {
                std::memcpy(out, packed, outSize);
            }
            return 0;
        case Method::kAdaptive:
            return DecodeLzhAdaptive(packed, packedSize, out, outSize);
        case Method::kEarlyAdaptive:
            return DecodeLzhEarly(true, packed, packedSize, out, outSize);
        case Method::kEarlyStatic:
            return DecodeLzhEarly(false, packed, packedSize, out, outSize);
        case Method::kStatic:
            return DecodeLzhStatic(row.dictionaryBits, packed, packedSize, out, outSize);
        case Method::kLzs:
            return DecodeLzs(packed, packedSize, out, outSize);
        case Method::kLz5:
            return DecodeLz5(packed, packedSize, out, outSize);
    }
    return kArchiveErrorMethod;
}
