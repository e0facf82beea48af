#pragma once

#include <cstdint>

#include "support/mt19937.h"

namespace qv::twist {

// The constants of the recurrence and of the tempering, shared by both regeneration paths.
inline constexpr int32_t kShift = 397;
inline constexpr int32_t kFirstRun = Mt19937::kStateWords - kShift;  // 227 words read ahead
inline constexpr uint32_t kUpperMask = 0x80000000u;
inline constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
inline constexpr uint32_t kMatrix = 0x9908B0DFu;
inline constexpr uint32_t kTemperB = 0x9D2C5680u;
inline constexpr uint32_t kTemperC = 0xEFC60000u;

// One word of the recurrence: `word` and its successor give the bits, `partner` the word 397 on.
inline uint32_t step(uint32_t word, uint32_t successor, uint32_t partner) {
    const uint32_t y = (word & kUpperMask) | (successor & kLowerMask);
    return partner ^ (y >> 1) ^ (kMatrix & (0u - (y & 1u)));
}

inline uint32_t temper(uint32_t y) {
    y ^= y >> 11;
    y ^= (y << 7) & kTemperB;
    y ^= (y << 15) & kTemperC;
    y ^= y >> 18;
    return y;
}

// Both paths advance `state` (625 words, the last a copy of the new word 0) by one full twist and
// write the tempered words into `block` (624 words).
void regeneratePlain(uint32_t* state, uint32_t* block);
// Only called when Mt19937::hasVectorSupport() is true.
void regenerateVector(uint32_t* state, uint32_t* block);

#if defined(__x86_64__) || defined(__i386__)
// The two vector variants behind regenerateVector, for processors with SSE2 and with AVX2.
void regenerateSse2(uint32_t* state, uint32_t* block);
void regenerateAvx2(uint32_t* state, uint32_t* block);
bool hasAvx2();
#endif

}  // namespace qv::twist
