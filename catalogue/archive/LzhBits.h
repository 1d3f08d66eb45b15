// The bit reader and the canonical Huffman table the LZH decoders share.
// Codes are read most significant bit first. Reading past the end of the
// packed bytes delivers zero bits and is noted, so that a decoder can call a
// stream that ends too early broken instead of trusting invented data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/archive/MemberData.h"

class LzhBitReader {
   public:
    LzhBitReader(const uint8_t* bytes, size_t size) : next_(bytes), end_(bytes + size), totalBits_(uint64_t(size) * 8) {
        Refill();
    }
    // Packed bytes from a feed that delivers totalBytes in all.
    LzhBitReader(PackedFeed* feed, uint64_t totalBytes) : feed_(feed), totalBits_(totalBytes * 8) {
        Refill();
    }

    // The next n bits (1 to 16) without consuming them.
    uint32_t Peek(int n) const {
        return uint32_t(buffer_ >> (64 - n));
    }
    void Skip(int n) {
        buffer_ <<= n;
        count_ -= n;
        consumedBits_ += unsigned(n);
        if (count_ < 32) {
            Refill();
        }
    }
    // Reads n bits (0 to 16).
    uint32_t Read(int n) {
        if (n == 0) {
            return 0;
        }
        uint32_t value = Peek(n);
        Skip(n);
        return value;
    }
    // True once more bits were consumed than the packed bytes hold.
    bool PastEnd() const {
        return consumedBits_ > totalBits_;
    }

   private:
    void Refill() {
        // Whole bytes while eight lie ahead in this piece: one load, no loop.
        if (count_ <= 56 && end_ - next_ >= 8) {
            uint64_t word = 0;
            for (int i = 0; i < 8; i++) {
                word = word << 8 | next_[i];
            }
            const int take = (64 - count_) >> 3;
            buffer_ |= (take == 8 ? word : word >> (64 - take * 8)) << (64 - take * 8 - count_);
            next_ += take;
            count_ += take * 8;
            return;
        }
        while (count_ <= 56) {
            if (next_ == end_ && feed_) {
                NextPiece();
            }
            uint64_t byte = next_ < end_ ? *next_++ : 0;
            buffer_ |= byte << (56 - count_);
            count_ += 8;
        }
    }

    void NextPiece() {
        size_t size = 0;
        if (feed_->Next(&next_, &size)) {
            end_ = next_ + size;
        } else {
            feed_ = nullptr;
            next_ = end_ = nullptr;
        }
    }

    PackedFeed* feed_ = nullptr;
    const uint8_t* next_ = nullptr;
    const uint8_t* end_ = nullptr;
    uint64_t buffer_ = 0;
    int count_ = 0;
    uint64_t consumedBits_ = 0;
    uint64_t totalBits_;
};

// A Huffman code given by code lengths, shorter codes first and symbols in
// order within a length (the LHA convention, the same as deflate's).
class LzhHuffmanTable {
   public:
    static constexpr int kMaxSymbols = 512;
    static constexpr int kMaxLength = 16;

    // Builds the table from count lengths (0 for an unused symbol). False
    // when the lengths promise more codes than there is room for.
    bool Build(const uint8_t* lengths, int count);

    // Every code is symbol, taking no bits.
    void SetSingle(int symbol);

    // Decodes one symbol; -1 for a bit pattern that no symbol has.
    int Decode(LzhBitReader* bits) const {
        if (single_ >= 0) {
            return single_;
        }
        uint16_t entry = fast_[bits->Peek(kFastBits)];
        if (entry != 0) {
            bits->Skip(entry & 0x1F);
            return entry >> 5;
        }
        return DecodeLong(bits);
    }

   private:
    static constexpr int kFastBits = 12;

    int DecodeLong(LzhBitReader* bits) const;

    int single_ = -1;
    uint16_t fast_[1 << kFastBits] = {};     // symbol << 5 | length, 0 when longer
    uint32_t first_[kMaxLength + 2] = {};    // first code of each length
    uint16_t countOf_[kMaxLength + 1] = {};  // codes of each length
    uint16_t indexOf_[kMaxLength + 1] = {};  // where each length starts in sorted_
    uint16_t sorted_[kMaxSymbols] = {};      // symbols by length, then value
};
