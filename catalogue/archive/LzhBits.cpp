// Building and the slow path of the canonical Huffman tables.
#include "catalogue/archive/LzhBits.h"

#include <cstring>

bool LzhHuffmanTable::Build(const uint8_t* lengths, int count) {
    single_ = -1;
    std::memset(countOf_, 0, sizeof countOf_);
    std::memset(fast_, 0, sizeof fast_);
    if (count > kMaxSymbols) {
        return false;
    }
    for (int i = 0; i < count; i++) {
        if (lengths[i] > kMaxLength) {
            return false;
        }
        countOf_[lengths[i]]++;
    }
    countOf_[0] = 0;
    uint32_t code = 0;
    uint16_t index = 0;
    for (int length = 1; length <= kMaxLength; length++) {
        first_[length] = code;
        indexOf_[length] = index;
        if (code + countOf_[length] > (1u << length)) {
            return false;
        }
        index = uint16_t(index + countOf_[length]);
        code = (code + countOf_[length]) << 1;
    }
    uint32_t nextCode[kMaxLength + 1];
    uint16_t nextIndex[kMaxLength + 1];
    std::memcpy(nextCode, first_, sizeof nextCode);
    std::memcpy(nextIndex, indexOf_, sizeof nextIndex);
    for (int symbol = 0; symbol < count; symbol++) {
        int length = lengths[symbol];
        if (length == 0) {
            continue;
        }
        sorted_[nextIndex[length]++] = uint16_t(symbol);
        uint32_t symbolCode = nextCode[length]++;
        if (length <= kFastBits) {
            uint32_t start = symbolCode << (kFastBits - length);
            uint32_t span = 1u << (kFastBits - length);
            uint16_t entry = uint16_t((symbol << 5) | length);
            for (uint32_t i = 0; i < span; i++) {
                fast_[start + i] = entry;
            }
        }
    }
    return true;
}

void LzhHuffmanTable::SetSingle(int symbol) {
    single_ = symbol;
}

int LzhHuffmanTable::DecodeLong(LzhBitReader* bits) const {
    uint32_t window = bits->Peek(kMaxLength);
    for (int length = kFastBits + 1; length <= kMaxLength; length++) {
        uint32_t code = window >> (kMaxLength - length);
        uint32_t offset = code - first_[length];
        if (code >= first_[length] && offset < countOf_[length]) {
            bits->Skip(length);
            return sorted_[indexOf_[length] + offset];
        }
    }
    return -1;
}
