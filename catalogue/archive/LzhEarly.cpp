// -lh2- and -lh3-: the 8 KiB methods of early LHA 2.x. Both code 286
// literal/length symbols (the last one followed by 8 extra length bits) and
// distances as a code for the upper bits plus six plain bits. -lh2- adapts
// its two Huffman trees as it goes and grows the distance tree as the output
// grows; -lh3- sends static tables per block.
#include <cstring>
#include <memory>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhBits.h"
#include "catalogue/archive/LzhDecoder.h"

namespace {

constexpr int kCodeSymbols = 286;
constexpr int kLongLengthCode = kCodeSymbols - 1;  // followed by 8 more bits
constexpr int kDistanceSymbols = 128;              // 8 KiB / 64
constexpr int kMinMatch = 3;
constexpr int kCharSlots = 256 + 60 - kMinMatch + 1;  // 314 leaves' worth of tree
constexpr int kTreeC = kCharSlots * 2;
constexpr int kTreeSize = kTreeC + kDistanceSymbols * 2;
constexpr int kRootC = 0;
constexpr int kRootP = kTreeC;

// The adaptive trees of -lh2-. Nodes are kept in blocks of equal count so
// that an increment swaps a node with the leader of its block.
class DynamicTrees {
   public:
    DynamicTrees() {
        StartCodes();
        StartDistances();
    }

    int DecodeCode(LzhBitReader* bits) {
        int c = child_[kRootC];
        do {
            c = child_[c - int(bits->Read(1))];
        } while (c > 0);
        c = ~c;
        UpdateCode(c);
        return c;
    }

    int DecodeDistance(LzhBitReader* bits, uint64_t produced) {
        while (produced > nextCount_) {
            AddDistanceNode(int(nextCount_ / 64));
            nextCount_ += 64;
            if (nextCount_ >= kDistanceSymbols * 64) {
                nextCount_ = UINT64_MAX;
            }
        }
        int c = child_[kRootP];
        while (c > 0) {
            c = child_[c - int(bits->Read(1))];
        }
        c = ~c - kCharSlots;
        UpdateDistance(c);
        return c;
    }

   private:
    void StartCodes() {
        // Both trees draw block numbers from one stock; there are never more
        // blocks than nodes, so a stock as long as the tree cannot run dry.
        for (int i = 0; i < kTreeSize; i++) {
            stock_[i] = int16_t(i);
            block_[i] = 0;
        }
        int j = kCodeSymbols * 2 - 2;
        for (int i = 0; i < kCodeSymbols; i++, j--) {
            freq_[j] = 1;
            child_[j] = int16_t(~i);
            leaf_[i] = int16_t(j);
            block_[j] = 1;
        }
        avail_ = 2;
        edge_[1] = int16_t(kCodeSymbols - 1);
        int i = kCodeSymbols * 2 - 2;
        while (j >= 0) {
            unsigned f = freq_[j] = uint16_t(freq_[i] + freq_[i - 1]);
            child_[j] = int16_t(i);
            parent_[i] = parent_[i - 1] = int16_t(j);
            if (f == freq_[j + 1]) {
                block_[j] = block_[j + 1];
            } else {
                block_[j] = stock_[avail_++];
            }
            edge_[block_[j]] = int16_t(j);
            i -= 2;
            j--;
        }
    }

    void StartDistances() {
        freq_[kRootP] = 1;
        child_[kRootP] = int16_t(~kCharSlots);
        leaf_[kCharSlots] = kRootP;
        block_[kRootP] = stock_[avail_++];
        edge_[block_[kRootP]] = kRootP;
        mostP_ = kRootP;
        totalP_ = 0;
        nextCount_ = 64;
    }

    // Halves the counts of nodes start..end-1 and rebuilds that tree.
    void Rebuild(int start, int end) {
        int j = start;
        int b = 0;
        for (int i = start; i < end; i++) {
            int k = child_[i];
            if (k < 0) {
                freq_[j] = uint16_t((freq_[i] + 1) / 2);
                child_[j] = int16_t(k);
                j++;
            }
            b = block_[i];
            if (edge_[b] == i) {
                stock_[--avail_] = int16_t(b);
            }
        }
        j--;
        int i = end - 1;
        int l = end - 2;
        while (i >= start) {
            while (i >= l) {
                freq_[i] = freq_[j];
                child_[i] = child_[j];
                i--, j--;
            }
            unsigned f = unsigned(freq_[l]) + freq_[l + 1];
            int k = start;
            while (f < freq_[k]) {
                k++;
            }
            while (j >= k) {
                freq_[i] = freq_[j];
                child_[i] = child_[j];
                i--, j--;
            }
            freq_[i] = uint16_t(f);
            child_[i] = int16_t(l + 1);
            i--;
            l -= 2;
        }
        // Blocks are led by their first (lowest) node, as SwapIncrement expects.
        unsigned f = 0;
        for (i = start; i < end; i++) {
            int k = child_[i];
            if (k < 0) {
                leaf_[~k] = int16_t(i);
            } else {
                parent_[k] = parent_[k - 1] = int16_t(i);
            }
            unsigned g = freq_[i];
            if (g == f) {
                block_[i] = int16_t(b);
            } else {
                b = block_[i] = stock_[avail_++];
                edge_[b] = int16_t(i);
                f = g;
            }
        }
    }

    // Increments node p (after moving it to the lead of its block) and
    // returns its parent.
    int SwapIncrement(int p) {
        int b = block_[p];
        int q = edge_[b];
        if (q != p) {
            int r = child_[p];
            int s = child_[q];
            child_[p] = int16_t(s);
            child_[q] = int16_t(r);
            if (r >= 0) {
                parent_[r] = parent_[r - 1] = int16_t(q);
            } else {
                leaf_[~r] = int16_t(q);
            }
            if (s >= 0) {
                parent_[s] = parent_[s - 1] = int16_t(p);
            } else {
                leaf_[~s] = int16_t(p);
            }
            p = q;
            Adjust(p, b);
        } else if (b == block_[p + 1]) {
            Adjust(p, b);
        } else if (++freq_[p] == freq_[p - 1]) {
            stock_[--avail_] = int16_t(b);
            block_[p] = block_[p - 1];
        }
        return parent_[p];
    }

    void Adjust(int p, int b) {
        edge_[b]++;
        if (++freq_[p] == freq_[p - 1]) {
            block_[p] = block_[p - 1];
        } else {
            block_[p] = stock_[avail_++];
            edge_[block_[p]] = int16_t(p);
        }
    }

    void UpdateCode(int symbol) {
        if (freq_[kRootC] == 0x8000) {
            Rebuild(0, kCodeSymbols * 2 - 1);
        }
        freq_[kRootC]++;
        int q = leaf_[symbol];
        do {
            q = SwapIncrement(q);
        } while (q != kRootC);
    }

    void UpdateDistance(int symbol) {
        if (totalP_ == 0x8000) {
            Rebuild(kRootP, mostP_ + 1);
            totalP_ = freq_[kRootP];
            freq_[kRootP] = 0xFFFF;
        }
        int q = leaf_[symbol + kCharSlots];
        while (q != kRootP) {
            q = SwapIncrement(q);
        }
        totalP_++;
    }

    // Splits the last distance leaf to make room for a new distance symbol.
    void AddDistanceNode(int symbol) {
        int r = mostP_ + 1;
        int q = r + 1;
        child_[r] = child_[mostP_];
        leaf_[~child_[r]] = int16_t(r);
        child_[q] = int16_t(~(symbol + kCharSlots));
        child_[mostP_] = int16_t(q);
        freq_[r] = freq_[mostP_];
        freq_[q] = 0;
        block_[r] = block_[mostP_];
        if (mostP_ == kRootP) {
            freq_[kRootP] = 0xFFFF;
            edge_[block_[kRootP]]++;
        }
        parent_[r] = parent_[q] = int16_t(mostP_);
        block_[q] = stock_[avail_++];
        edge_[block_[q]] = int16_t(q);
        leaf_[symbol + kCharSlots] = int16_t(q);
        mostP_ = q;
        UpdateDistance(symbol);
    }

    int16_t child_[kTreeSize] = {};
    int16_t parent_[kTreeSize] = {};
    int16_t block_[kTreeSize] = {};
    int16_t edge_[kTreeSize] = {};
    int16_t stock_[kTreeSize] = {};
    int16_t leaf_[kTreeSize / 2] = {};
    uint16_t freq_[kTreeSize] = {};
    int avail_ = 0;
    int mostP_ = 0;
    unsigned totalP_ = 0;
    uint64_t nextCount_ = 0;
};

// The tables of one -lh3- block.
struct StaticTables {
    LzhHuffmanTable codes;
    LzhHuffmanTable distances;
    uint32_t remaining = 0;
};

// The distance code used when a block sends none.
bool BuildReadyMadeDistances(LzhHuffmanTable* table) {
    static const int kLengthSteps[] = {1, 1, 3, 6, 13, 31, 78};  // symbols where the length grows by one
    uint8_t lengths[kDistanceSymbols];
    int length = 2;
    size_t step = 0;
    for (int i = 0; i < kDistanceSymbols; i++) {
        while (step < sizeof kLengthSteps / sizeof kLengthSteps[0] && kLengthSteps[step] == i) {
            length++;
            step++;
        }
        lengths[i] = uint8_t(length);
    }
    return table->Build(lengths, kDistanceSymbols);
}

bool ReadStaticBlock(LzhBitReader* bits, StaticTables* tables) {
    tables->remaining = bits->Read(16);
    if (tables->remaining == 0) {
        tables->remaining = 0x10000;
    }
    uint8_t lengths[kCodeSymbols] = {};
    for (int i = 0; i < kCodeSymbols; i++) {
        lengths[i] = bits->Read(1) ? uint8_t(bits->Read(4) + 1) : 0;
        if (i == 2 && lengths[0] == 1 && lengths[1] == 1 && lengths[2] == 1) {
            int symbol = int(bits->Read(9));
            if (symbol >= kCodeSymbols) {
                return false;
            }
            tables->codes.SetSingle(symbol);
            break;
        }
        if (i == kCodeSymbols - 1 && !tables->codes.Build(lengths, kCodeSymbols)) {
            return false;
        }
    }
    if (!bits->Read(1)) {
        return BuildReadyMadeDistances(&tables->distances);
    }
    uint8_t distanceLengths[kDistanceSymbols] = {};
    for (int i = 0; i < kDistanceSymbols; i++) {
        distanceLengths[i] = uint8_t(bits->Read(4));
        if (i == 2 && distanceLengths[0] == 1 && distanceLengths[1] == 1 && distanceLengths[2] == 1) {
            tables->distances.SetSingle(int(bits->Read(7)));
            return true;
        }
    }
    return tables->distances.Build(distanceLengths, kDistanceSymbols);
}

}  // namespace

int DecodeLzhEarly(bool adaptive, LzhBitReader* bits, MemberOutput* out) {
    std::unique_ptr<DynamicTrees> trees;
    std::unique_ptr<StaticTables> tables;
    if (adaptive) {
        trees = std::make_unique<DynamicTrees>();
    } else {
        tables = std::make_unique<StaticTables>();
    }
    const size_t outSize = out->Limit();
    size_t position = 0;
    while (position < outSize) {
        int code;
        if (adaptive) {
            code = trees->DecodeCode(bits);
        } else {
            if (tables->remaining == 0 && !ReadStaticBlock(bits, tables.get())) {
                return kArchiveErrorBroken;
            }
            tables->remaining--;
            code = tables->codes.Decode(bits);
        }
        if (code < 0) {
            return kArchiveErrorBroken;
        }
        if (code == kLongLengthCode) {
            code += int(bits->Read(8));
        }
        if (code < 256) {
            if (!PutLzhByte(out, &position, uint8_t(code))) {
                return kArchiveErrorBroken;
            }
        } else {
            int high = adaptive ? trees->DecodeDistance(bits, position) : tables->distances.Decode(bits);
            // At most 8 KiB back.
            if (high < 0 ||
                !PutLzhMatch(out, &position, (size_t(high) << 6) + bits->Read(6) + 1, size_t(code) - 256 + kMinMatch)) {
                return kArchiveErrorBroken;
            }
        }
        if (bits->PastEnd()) {
            return kArchiveErrorBroken;
        }
    }
    return 0;
}
