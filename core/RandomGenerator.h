// RandomGenerator: the MT19937 Mersenne Twister behind random play, seeded
// with the classic two-step 69069 rule, so a seed gives the same sequence as
// the early reference generator.
#pragma once

#include <cstdint>

class RandomGenerator {
   public:
    // Fills the state from s; the next call of next() twists a new block.
    void seed(uint32_t s);

    // The next tempered 32-bit value. Seeds with 4357 first when seed() was
    // never called.
    uint32_t next();

   private:
    static constexpr int kWords = 624;

    void Twist();

    uint32_t state_[kWords] = {};
    int index_ = kWords;
    bool seeded_ = false;
};

// The start-up seed from the system time (UTC):
// (second+1)(minute+1)(hour+1)(year+1) * day * month + milliseconds, wrapping
// in 32 bits.
uint32_t StartupSeed(uint32_t year,
                     uint32_t month,
                     uint32_t day,
                     uint32_t hour,
                     uint32_t minute,
                     uint32_t second,
                     uint32_t milliseconds);
