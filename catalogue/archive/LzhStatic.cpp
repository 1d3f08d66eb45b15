// The block-coded LZH methods -lh4- to -lh7-: each block carries three
// Huffman tables (code lengths of the length table itself, of the
// literal/length symbols and of the distance bit counts) and then that many
// symbols. The output is the history: copies read straight from what was
// produced.
#include <cstring>
#include <memory>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhBits.h"
#include "catalogue/archive/LzhDecoder.h"

namespace {

constexpr int kLiteralSymbols = 510;  // 256 bytes + 254 match lengths
constexpr int kLengthSymbols = 19;    // code-length alphabet
constexpr int kMinMatch = 3;

struct StaticState {
    LzhHuffmanTable lengthCodes;
    LzhHuffmanTable literals;
    LzhHuffmanTable distances;
};

// Reads a table of code lengths written with 3 bits each (7 and up continue
// in unary). After the third length a 2-bit count of zero lengths follows
// when skipAfterThree is set.
bool ReadShortLengths(LzhBitReader* bits, LzhHuffmanTable* table, int symbols, int countBits, bool skipAfterThree) {
    int count = int(bits->Read(countBits));
    if (count == 0) {
        int symbol = int(bits->Read(countBits));
        if (symbol >= symbols) {
            return false;
        }
        table->SetSingle(symbol);
        return true;
    }
    if (count > symbols) {
        return false;
    }
    uint8_t lengths[kLengthSymbols] = {};
    int i = 0;
    while (i < count) {
        int length = int(bits->Read(3));
        if (length == 7) {
            while (bits->Read(1)) {
                if (++length > LzhHuffmanTable::kMaxLength) {
                    return false;
                }
            }
        }
        lengths[i++] = uint8_t(length);
        if (skipAfterThree && i == 3) {
            int zeros = int(bits->Read(2));
            while (zeros-- > 0 && i < count) {
                lengths[i++] = 0;
            }
        }
    }
    return table->Build(lengths, symbols);
}

// Reads the literal/length code lengths, themselves coded with lengthCodes;
// symbols 0 to 2 stand for runs of zero lengths.
bool ReadLiteralLengths(LzhBitReader* bits, StaticState* state) {
    int count = int(bits->Read(9));
    if (count == 0) {
        int symbol = int(bits->Read(9));
        if (symbol >= kLiteralSymbols) {
            return false;
        }
        state->literals.SetSingle(symbol);
        return true;
    }
    if (count > kLiteralSymbols) {
        return false;
    }
    uint8_t lengths[kLiteralSymbols] = {};
    int i = 0;
    while (i < count) {
        int code = state->lengthCodes.Decode(bits);
        if (code < 0) {
            return false;
        }
        if (code > 2) {
            lengths[i++] = uint8_t(code - 2);
            continue;
        }
        int zeros = code == 0 ? 1 : code == 1 ? int(bits->Read(4)) + 3 : int(bits->Read(9)) + 20;
        if (zeros > count - i) {
            return false;
        }
        i += zeros;
    }
    return state->literals.Build(lengths, kLiteralSymbols);
}

}  // namespace

int DecodeLzhStatic(int dictionaryBits, LzhBitReader* bits, MemberOutput* out) {
    if (dictionaryBits < 12 || dictionaryBits > 16) {
        return kArchiveErrorBroken;
    }
    // -lh4- and -lh5- share 14 distance codes; -lh6- has 16 and -lh7- 17.
    const int distanceSymbols = dictionaryBits <= 13 ? 14 : dictionaryBits + 1;
    const int distanceCountBits = dictionaryBits <= 13 ? 4 : 5;
    auto state = std::make_unique<StaticState>();
    const size_t outSize = out->Limit();
    size_t position = 0;
    while (position < outSize) {
        // A count of 0 stands for 65536 codes.
        uint32_t blockCodes = bits->Read(16);
        if (blockCodes == 0) {
            blockCodes = 0x10000;
        }
        if (!ReadShortLengths(bits, &state->lengthCodes, kLengthSymbols, 5, true) ||
            !ReadLiteralLengths(bits, state.get()) ||
            !ReadShortLengths(bits, &state->distances, distanceSymbols, distanceCountBits, false) || bits->PastEnd()) {
            return kArchiveErrorBroken;
        }
        for (; blockCodes > 0 && position < outSize; blockCodes--) {
            int symbol = state->literals.Decode(bits);
            if (symbol < 0) {
                return kArchiveErrorBroken;
            }
            if (symbol < 256) {
                if (!PutLzhByte(out, &position, uint8_t(symbol))) {
                    return kArchiveErrorBroken;
                }
                continue;
            }
            int distanceBits = state->distances.Decode(bits);
            if (distanceBits < 0) {
                return kArchiveErrorBroken;
            }
            // At most 2^16 - 1 with -lh7-'s 17 codes: within the output's history.
            size_t distance = distanceBits <= 1 ? size_t(distanceBits)
                                                : (size_t(1) << (distanceBits - 1)) + bits->Read(distanceBits - 1);
            if (!PutLzhMatch(out, &position, distance + 1, size_t(symbol) - 256 + kMinMatch)) {
                return kArchiveErrorBroken;
            }
        }
        if (bits->PastEnd()) {
            return kArchiveErrorBroken;
        }
    }
    return 0;
}
