#include "support/mt19937.h"

#include "support/mt19937_twist.h"

namespace qv {

namespace twist {

void regeneratePlain(uint32_t* state, uint32_t* block) {
    constexpr int32_t words = Mt19937::kStateWords;
    // Words 0..226 read their partners ahead, still old; the rest read partners already renewed.
    for (int32_t k = 0; k < kFirstRun; ++k) {
        state[k] = step(state[k], state[k + 1], state[k + kShift]);
    }
    state[words] = state[0];  // the last word's successor, so the second loop needs no wrap
    for (int32_t k = kFirstRun; k < words; ++k) {
        state[k] = step(state[k], state[k + 1], state[k - kFirstRun]);
    }
    for (int32_t k = 0; k < words; ++k) {
        block[k] = temper(state[k]);
    }
}

}  // namespace twist

void Mt19937::seed(uint32_t value) {
    // Each word takes the high half of one congruential step and the high half of the next.
    uint32_t x = value;
    for (int32_t i = 0; i < kStateWords; ++i) {
        const uint32_t a = 69069u * x + 1u;
        state[i] = (x & 0xFFFF0000u) | (a >> 16);
        x = 69069u * a + 1u;
    }
    useVector = hasVectorSupport();
    seeded = true;
    regenerate();
}

uint32_t Mt19937::next() {
    if (index >= kStateWords || index < 0) {
        if (!seeded) {
            seed(kDefaultSeed);
        }
        regenerate();
    }
    return block[index++];
}

void Mt19937::regenerate() {
    if (useVector) {
        twist::regenerateVector(state.data(), block.data());
    } else {
        twist::regeneratePlain(state.data(), block.data());
    }
    index = 0;
}

Mt19937& sharedRandom() {
    static Mt19937 generator;
    return generator;
}

}  // namespace qv
