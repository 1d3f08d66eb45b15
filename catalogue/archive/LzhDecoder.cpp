// The method table, the CRC and the simple LZH methods: stored members and
// LArc's two LZSS variants.
#include "catalogue/archive/LzhDecoder.h"

#include <cstring>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhBits.h"

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
    // Appends one byte to the output and the ring; false when out fails.
    bool Put(uint8_t byte, MemberOutput* out, size_t* produced) {
        if (!PutLzhByte(out, produced, byte)) {
            return false;
        }
        bytes_[position_] = byte;
        position_ = (position_ + 1) & (size_ - 1);
        return true;
    }
    // Copies up to length bytes, stopping when out is full; false when it fails.
    bool Copy(size_t from, size_t length, MemberOutput* out, size_t* produced) {
        for (size_t i = 0; i < length && *produced < out->Limit(); i++) {
            if (!Put(bytes_[(from + i) & (size_ - 1)], out, produced)) {
                return false;
            }
        }
        return true;
    }

   private:
    uint8_t bytes_[4096];
    size_t size_;
    size_t position_;
};

// -lzs-: a flag bit, then 8 literal bits or an 11-bit position and 4-bit length.
int DecodeLzs(LzhBitReader* bits, MemberOutput* out) {
    const size_t kRingSize = 2048;
    Ring ring(kRingSize, kRingSize - 17);
    std::memset(ring.Bytes(), ' ', kRingSize);
    size_t produced = 0;
    while (produced < out->Limit()) {
        bool written;
        if (bits->Read(1)) {
            written = ring.Put(uint8_t(bits->Read(8)), out, &produced);
        } else {
            size_t from = bits->Read(11);
            size_t length = bits->Read(4) + 2;
            written = ring.Copy(from, length, out, &produced);
        }
        if (!written || bits->PastEnd()) {
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
// 12-bit ring position and 4-bit length. The bytes are whole, so the bit
// reader delivers them 8 bits at a time.
int DecodeLz5(LzhBitReader* bits, MemberOutput* out) {
    const size_t kRingSize = 4096;
    Ring ring(kRingSize, kRingSize - 18);
    FillLz5Ring(ring.Bytes());
    size_t produced = 0;
    while (produced < out->Limit()) {
        uint8_t flags = uint8_t(bits->Read(8));
        if (bits->PastEnd()) {
            return kArchiveErrorBroken;
        }
        for (int bit = 0; bit < 8 && produced < out->Limit(); bit++) {
            bool written;
            if (flags & (1 << bit)) {
                uint8_t byte = uint8_t(bits->Read(8));
                written = !bits->PastEnd() && ring.Put(byte, out, &produced);
            } else {
                uint32_t low = bits->Read(8);
                uint32_t high = bits->Read(8);
                size_t from = ((high & 0xF0u) << 4) | low;
                size_t length = (high & 0x0Fu) + 3;
                written = !bits->PastEnd() && ring.Copy(from, length, out, &produced);
            }
            if (!written) {
                return kArchiveErrorBroken;
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

// CRC-16 (reflected 0xA001) eight bytes a step: entries[k][b] is the CRC
// of byte b followed by k zero bytes, so eight lookups replace eight
// dependent steps.
struct Crc16Table {
    uint16_t entries[8][256];
    Crc16Table() {
        for (unsigned i = 0; i < 256; i++) {
            unsigned value = i;
            for (int bit = 0; bit < 8; bit++) {
                value = (value & 1) ? (value >> 1) ^ 0xA001u : value >> 1;
            }
            entries[0][i] = uint16_t(value);
        }
        for (int k = 1; k < 8; k++) {
            for (unsigned i = 0; i < 256; i++) {
                const uint16_t before = entries[k - 1][i];
                entries[k][i] = uint16_t((before >> 8) ^ entries[0][before & 0xFF]);
            }
        }
    }
};

uint16_t LzhCrc16(const uint8_t* bytes, size_t n, uint16_t crc) {
    static const Crc16Table table;
    const auto& t = table.entries;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint8_t* b = bytes + i;
        const unsigned low = (crc ^ b[0]) & 0xFF;
        const unsigned high = ((crc >> 8) ^ b[1]) & 0xFF;
        crc = uint16_t(t[7][low] ^ t[6][high] ^ t[5][b[2]] ^ t[4][b[3]] ^ t[3][b[4]] ^ t[2][b[5]] ^ t[1][b[6]] ^
                       t[0][b[7]]);
    }
    for (; i < n; i++) {
        crc = uint16_t((crc >> 8) ^ t[0][(crc ^ bytes[i]) & 0xFF]);
    }
    return crc;
}

int DecodeLzh(const char* method, const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize) {
    MemoryFeed feed(packed, packedSize);
    MemberOutput output(out, outSize);
    return DecodeLzhMember(method, &feed, packedSize, &output);
}

int DecodeLzhMember(const char* method, PackedFeed* feed, uint64_t packedSize, MemberOutput* out) {
    int index = LzhMethodIndex(method);
    if (index < 0) {
        return kArchiveErrorMethod;
    }
    const MethodRow& row = kMethods[index];
    if (row.method == Method::kStored) {
        return CopyStoredMember(feed, packedSize, out);
    }
    LzhBitReader bits(feed, packedSize);
    switch (row.method) {
        case Method::kStored:
            break;
        case Method::kAdaptive:
            return DecodeLzhAdaptive(&bits, out);
        case Method::kEarlyAdaptive:
            return DecodeLzhEarly(true, &bits, out);
        case Method::kEarlyStatic:
            return DecodeLzhEarly(false, &bits, out);
        case Method::kStatic:
            return DecodeLzhStatic(row.dictionaryBits, &bits, out);
        case Method::kLzs:
            return DecodeLzs(&bits, out);
        case Method::kLz5:
            return DecodeLz5(&bits, out);
    }
    return kArchiveErrorMethod;
}
