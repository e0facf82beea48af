#pragma once

#include <array>
#include <cstdint>

namespace qv {

// The game's one source of randomness: the Mersenne Twister MT19937, seeded through the 69069
// congruential generator. A whole block of 624 tempered numbers is made at once, so that `next`
// is a bound test and a table read.
class Mt19937 {
public:
    static constexpr int32_t kStateWords = 624;
    static constexpr uint32_t kDefaultSeed = 4357;

    // Fills the state from `value`, picks the regeneration path for this processor and makes the
    // first block: the next `next` returns the first number of the sequence for `value`.
    void seed(uint32_t value);
    // The next number of the sequence; seeds with 4357 first when never seeded.
    uint32_t next();
    // One full twist of the state, tempered into `block`; `index` back to 0.
    void regenerate();
    // True when this processor can run the vector regeneration path.
    static bool hasVectorSupport();

    // Word 624 holds a copy of the new word 0 during the twist, so the last step needs no wrap.
    std::array<uint32_t, kStateWords + 1> state{};
    std::array<uint32_t, kStateWords> block{};
    int32_t index = kStateWords;
    bool seeded = false;
    bool useVector = false;
};

// The process-wide generator that pouring, gravity and the game draw from.
Mt19937& sharedRandom();

}  // namespace qv
