// MT19937 with the standard twist and tempering constants.
#include "core/RandomGenerator.h"

static constexpr int kShift = 397;
static constexpr uint32_t kMatrixA = 0x9908B0DFu;
static constexpr uint32_t kUpperMask = 0x80000000u;
static constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
static constexpr uint32_t kDefaultSeed = 4357;

void RandomGenerator::seed(uint32_t s) {
    // Each word takes its high half from s and its low half from the high
    // half of the next congruential step.
    for (uint32_t& word : state_) {
        word = s & 0xFFFF0000u;
        s = s * 69069u + 1u;
        word |= (s & 0xFFFF0000u) >> 16;
        s = s * 69069u + 1u;
    }
    index_ = kWords;
    seeded_ = true;
}

// Regenerates all words in place; words past kWords - kShift mix in words
// this pass has already replaced.
void RandomGenerator::Twist() {
    for (int i = 0; i < kWords; i++) {
        const uint32_t y = (state_[i] & kUpperMask) | (state_[(i + 1) % kWords] & kLowerMask);
        state_[i] = state_[(i + kShift) % kWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    index_ = 0;
}

uint32_t RandomGenerator::next() {
    if (!seeded_) {
        seed(kDefaultSeed);
    }
    if (index_ >= kWords) {
        Twist();
    }
    uint32_t y = state_[index_++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

uint32_t StartupSeed(uint32_t year,
                     uint32_t month,
                     uint32_t day,
                     uint32_t hour,
                     uint32_t minute,
                     uint32_t second,
                     uint32_t milliseconds) {
    return (second + 1) * (minute + 1) * (hour + 1) * (year + 1) * day * month + milliseconds;
}
