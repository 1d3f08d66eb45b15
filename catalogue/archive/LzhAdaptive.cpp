// -lh1-: LZSS with a 4 KiB window whose literals and match lengths are coded
// with an adaptive Huffman tree (the tree is rebuilt as symbol counts change)
// and whose distances have a fixed code for their upper six bits followed by
// six plain bits.
#include <algorithm>
#include <cstring>
#include <memory>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhBits.h"
#include "catalogue/archive/LzhDecoder.h"

namespace {

constexpr int kMaxMatch = 60;
constexpr int kMinMatch = 3;
constexpr int kSymbols = 256 + kMaxMatch - kMinMatch + 1;  // 314
constexpr int kNodes = 2 * kSymbols - 1;
constexpr int kRoot = kNodes - 1;
constexpr uint16_t kRebuildAt = 0x8000;  // root count that halves all counts

// The adaptive tree: leaves are nodes >= kNodes in child_, internal nodes
// have their two children at child_[n] and child_[n] + 1. Counts stay sorted
// ascending by node index, which keeps the tree a valid Huffman tree.
class AdaptiveTree {
   public:
    AdaptiveTree() {
        for (int i = 0; i < kSymbols; i++) {
            count_[i] = 1;
            child_[i] = uint16_t(i + kNodes);
            parent_[i + kNodes] = uint16_t(i);
        }
        for (int i = 0, j = kSymbols; j <= kRoot; i += 2, j++) {
            count_[j] = uint16_t(count_[i] + count_[i + 1]);
            child_[j] = uint16_t(i);
            parent_[i] = parent_[i + 1] = uint16_t(j);
        }
        count_[kNodes] = 0xFFFF;
        parent_[kRoot] = 0;
    }

    int Decode(LzhBitReader* bits) {
        unsigned node = child_[kRoot];
        while (node < kNodes) {
            node = child_[node + bits->Read(1)];
        }
        int symbol = int(node - kNodes);
        Update(symbol);
        return symbol;
    }

   private:
    void Update(int symbol) {
        if (count_[kRoot] == kRebuildAt) {
            Rebuild();
        }
        unsigned node = parent_[symbol + kNodes];
        do {
            unsigned count = ++count_[node];
            if (count > count_[node + 1]) {
                const unsigned swap = LastCountBelow(node + 1, count);
                count_[node] = count_[swap];
                count_[swap] = uint16_t(count);
                unsigned child = child_[node];
                parent_[child] = uint16_t(swap);
                if (child < kNodes) {
                    parent_[child + 1] = uint16_t(swap);
                }
                unsigned other = child_[swap];
                child_[swap] = uint16_t(child);
                parent_[other] = uint16_t(node);
                if (other < kNodes) {
                    parent_[other + 1] = uint16_t(node);
                }
                child_[node] = uint16_t(other);
                node = swap;
            }
            node = parent_[node];
        } while (node != 0);
    }

    // The last node from `from` on whose count is below count, given that
    // count_[from] is. Counts ascend with the node index, so the run of
    // equal counts an increment jumps over (all 314 leaves while the tree is
    // young) is crossed in doubling steps and then halved, not node by node.
    unsigned LastCountBelow(unsigned from, unsigned count) const {
        unsigned below = from;
        unsigned above = from + 1;
        for (unsigned step = 2; count_[above] < count; step *= 2) {
            below = above;
            above = std::min(from + step, unsigned(kNodes));  // count_[kNodes] is above every count
        }
        while (above - below > 1) {
            const unsigned middle = below + (above - below) / 2;
            if (count_[middle] < count) {
                below = middle;
            } else {
                above = middle;
            }
        }
        return below;
    }

    // Halves the leaf counts and builds the tree again from them.
    void Rebuild() {
        int leaves = 0;
        for (int i = 0; i < kNodes; i++) {
            if (child_[i] >= kNodes) {
                count_[leaves] = uint16_t((count_[i] + 1) / 2);
                child_[leaves] = child_[i];
                leaves++;
            }
        }
        for (int i = 0, j = kSymbols; j < kNodes; i += 2, j++) {
            uint16_t count = uint16_t(count_[i] + count_[i + 1]);
            int at = j - 1;
            while (count < count_[at]) {
                at--;
            }
            at++;
            size_t moved = size_t(j - at);
            std::memmove(&count_[at + 1], &count_[at], moved * sizeof count_[0]);
            count_[at] = count;
            std::memmove(&child_[at + 1], &child_[at], moved * sizeof child_[0]);
            child_[at] = uint16_t(i);
        }
        for (int i = 0; i < kNodes; i++) {
            unsigned child = child_[i];
            parent_[child] = uint16_t(i);
            if (child < kNodes) {
                parent_[child + 1] = uint16_t(i);
            }
        }
    }

    uint16_t count_[kNodes + 1];
    uint16_t child_[kNodes];
    uint16_t parent_[kNodes + kSymbols];
};

// The fixed code of a distance's upper six bits: one 3-bit code, three of 4
// bits, eight of 5, twelve of 6, twenty-four of 7 and sixteen of 8.
bool BuildDistanceTable(LzhHuffmanTable* table) {
    static const struct {
        int codes;
        uint8_t length;
    } kRuns[] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};
    uint8_t lengths[64];
    int i = 0;
    for (const auto& run : kRuns) {
        for (int k = 0; k < run.codes; k++) {
            lengths[i++] = run.length;
        }
    }
    return table->Build(lengths, 64);
}

// The distance code is the same for every member: built once, null if it
// could not be.
const LzhHuffmanTable* DistanceTable() {
    static const std::unique_ptr<LzhHuffmanTable> table = [] {
        auto built = std::make_unique<LzhHuffmanTable>();
        return BuildDistanceTable(built.get()) ? std::move(built) : nullptr;
    }();
    return table.get();
}

}  // namespace

int DecodeLzhAdaptive(LzhBitReader* bits, MemberOutput* out) {
    auto tree = std::make_unique<AdaptiveTree>();
    const LzhHuffmanTable* distances = DistanceTable();
    if (!distances) {
        return kArchiveErrorBroken;
    }
    const size_t outSize = out->Limit();
    size_t position = 0;
    while (position < outSize) {
        int symbol = tree->Decode(bits);
        bool written;
        if (symbol < 256) {
            written = PutLzhByte(out, &position, uint8_t(symbol));
        } else {
            // 12 bits: at most 4 KiB back.
            size_t distance = (size_t(distances->Decode(bits)) << 6) | bits->Read(6);
            written = PutLzhMatch(out, &position, distance + 1, size_t(symbol) - 256 + kMinMatch);
        }
        if (!written) {
            return kArchiveErrorBroken;
        }
        if (bits->PastEnd()) {
            return kArchiveErrorBroken;
        }
    }
    return 0;
}
