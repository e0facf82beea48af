// The vector regeneration path: the same recurrence and tempering as the plain path, several words
// per instruction. SSE2 handles four words at a time, AVX2 eight; which one runs is decided at run
// time, so the build needs no processor-specific flags.
#include "support/mt19937.h"
#include "support/mt19937_twist.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace qv {

#if defined(__x86_64__) || defined(__i386__)

namespace {

constexpr int32_t kWords = Mt19937::kStateWords;

__attribute__((target("sse2"))) __m128i stepSse2(__m128i word, __m128i successor, __m128i partner) {
    const __m128i y = _mm_or_si128(_mm_and_si128(word, _mm_set1_epi32(static_cast<int32_t>(twist::kUpperMask))),
                                   _mm_and_si128(successor, _mm_set1_epi32(static_cast<int32_t>(twist::kLowerMask))));
    // All ones where y is odd: 0 - (y & 1), as in the plain step.
    const __m128i odd = _mm_sub_epi32(_mm_setzero_si128(), _mm_and_si128(y, _mm_set1_epi32(1)));
    const __m128i matrix = _mm_and_si128(odd, _mm_set1_epi32(static_cast<int32_t>(twist::kMatrix)));
    return _mm_xor_si128(_mm_xor_si128(partner, _mm_srli_epi32(y, 1)), matrix);
}

__attribute__((target("sse2"))) __m128i temperSse2(__m128i y) {
    y = _mm_xor_si128(y, _mm_srli_epi32(y, 11));
    y = _mm_xor_si128(y, _mm_and_si128(_mm_slli_epi32(y, 7), _mm_set1_epi32(static_cast<int32_t>(twist::kTemperB))));
    y = _mm_xor_si128(y, _mm_and_si128(_mm_slli_epi32(y, 15), _mm_set1_epi32(static_cast<int32_t>(twist::kTemperC))));
    return _mm_xor_si128(y, _mm_srli_epi32(y, 18));
}

__attribute__((target("sse2"))) __m128i load4(const uint32_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

__attribute__((target("sse2"))) void store4(uint32_t* at, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
}

// Four words at a time; every load of a group happens before its store, and the partner words lie
// 397 ahead or 227 behind, so each lane sees exactly the values the plain path would.
}  // namespace

__attribute__((target("sse2"))) void twist::regenerateSse2(uint32_t* state, uint32_t* block) {
    int32_t k = 0;
    for (; k + 4 <= twist::kFirstRun; k += 4) {
        store4(state + k, stepSse2(load4(state + k), load4(state + k + 1), load4(state + k + twist::kShift)));
    }
    for (; k < twist::kFirstRun; ++k) {
        state[k] = twist::step(state[k], state[k + 1], state[k + twist::kShift]);
    }
    state[kWords] = state[0];
    for (; k < twist::kFirstRun + 1; ++k) {  // realign so that the groups end exactly at word 623
        state[k] = twist::step(state[k], state[k + 1], state[k - twist::kFirstRun]);
    }
    for (; k + 4 <= kWords; k += 4) {
        store4(state + k, stepSse2(load4(state + k), load4(state + k + 1), load4(state + k - twist::kFirstRun)));
    }
    for (; k < kWords; ++k) {
        state[k] = twist::step(state[k], state[k + 1], state[k - twist::kFirstRun]);
    }
    for (int32_t i = 0; i < kWords; i += 4) {
        store4(block + i, temperSse2(load4(state + i)));
    }
}

namespace {

__attribute__((target("avx2"))) __m256i stepAvx2(__m256i word, __m256i successor, __m256i partner) {
    const __m256i y =
        _mm256_or_si256(_mm256_and_si256(word, _mm256_set1_epi32(static_cast<int32_t>(twist::kUpperMask))),
                        _mm256_and_si256(successor, _mm256_set1_epi32(static_cast<int32_t>(twist::kLowerMask))));
    const __m256i odd = _mm256_sub_epi32(_mm256_setzero_si256(), _mm256_and_si256(y, _mm256_set1_epi32(1)));
    const __m256i matrix = _mm256_and_si256(odd, _mm256_set1_epi32(static_cast<int32_t>(twist::kMatrix)));
    return _mm256_xor_si256(_mm256_xor_si256(partner, _mm256_srli_epi32(y, 1)), matrix);
}

__attribute__((target("avx2"))) __m256i temperAvx2(__m256i y) {
    y = _mm256_xor_si256(y, _mm256_srli_epi32(y, 11));
    y = _mm256_xor_si256(
        y, _mm256_and_si256(_mm256_slli_epi32(y, 7), _mm256_set1_epi32(static_cast<int32_t>(twist::kTemperB))));
    y = _mm256_xor_si256(
        y, _mm256_and_si256(_mm256_slli_epi32(y, 15), _mm256_set1_epi32(static_cast<int32_t>(twist::kTemperC))));
    return _mm256_xor_si256(y, _mm256_srli_epi32(y, 18));
}

__attribute__((target("avx2"))) __m256i load8(const uint32_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

__attribute__((target("avx2"))) void store8(uint32_t* at, __m256i value) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
}

// Eight words at a time, with the same read-before-write argument as the SSE2 path (8 < 227).
}  // namespace

__attribute__((target("avx2"))) void twist::regenerateAvx2(uint32_t* state, uint32_t* block) {
    int32_t k = 0;
    for (; k + 8 <= twist::kFirstRun; k += 8) {
        store8(state + k, stepAvx2(load8(state + k), load8(state + k + 1), load8(state + k + twist::kShift)));
    }
    for (; k < twist::kFirstRun; ++k) {
        state[k] = twist::step(state[k], state[k + 1], state[k + twist::kShift]);
    }
    state[kWords] = state[0];
    for (; k < twist::kFirstRun + 5; ++k) {  // realign so that the groups end exactly at word 623
        state[k] = twist::step(state[k], state[k + 1], state[k - twist::kFirstRun]);
    }
    for (; k + 8 <= kWords; k += 8) {
        store8(state + k, stepAvx2(load8(state + k), load8(state + k + 1), load8(state + k - twist::kFirstRun)));
    }
    for (; k < kWords; ++k) {
        state[k] = twist::step(state[k], state[k + 1], state[k - twist::kFirstRun]);
    }
    for (int32_t i = 0; i < kWords; i += 8) {
        store8(block + i, temperAvx2(load8(state + i)));
    }
}

bool twist::hasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

bool Mt19937::hasVectorSupport() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

void twist::regenerateVector(uint32_t* state, uint32_t* block) {
    if (hasAvx2()) {
        regenerateAvx2(state, block);
    } else {
        regenerateSse2(state, block);
    }
}

#else  // other processors: the plain path is the only one

bool Mt19937::hasVectorSupport() { return false; }

void twist::regenerateVector(uint32_t* state, uint32_t* block) { twist::regeneratePlain(state, block); }

#endif

}  // namespace qv
