#include "app/pixel_conversion.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QV_X86_VECTORS 1
#endif

namespace qv {

namespace {

void widenPlain(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha) {
    for (int32_t i = 0; i < count; ++i, source += 3) {
        out[i] = uint32_t{source[0]} | (uint32_t{source[1]} << 8) | (uint32_t{source[2]} << 16) | alpha;
    }
}

#if defined(QV_X86_VECTORS)

// Four pixels of a 16-byte load (only its first 12 bytes used) spread into four words, a zero
// byte above each pixel for the alpha. The vector paths store bytes, so they match the plain
// words on this little-endian processor.
__attribute__((target("ssse3"))) __m128i spreadFour() {
    return _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
}

__attribute__((target("ssse3"))) void widenSsse3(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha) {
    const __m128i spread = spreadFour();
    const __m128i alphas = _mm_set1_epi32(static_cast<int32_t>(alpha));
    int32_t i = 0;
    // A load reads 16 bytes for 12: it stays inside the row while six pixels are left.
    for (; i + 6 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(_mm_shuffle_epi8(pixels, spread), alphas));
    }
    widenPlain(source + 3 * i, out + i, count - i, alpha);
}

__attribute__((target("avx2"))) void widenAvx2(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha) {
    // The byte shuffle works within each 128-bit half: each half gets four pixels of its own.
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4,
                                            5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i alphas = _mm256_set1_epi32(static_cast<int32_t>(alpha));
    int32_t i = 0;
    // The second load reads bytes 12 to 27 for eight pixels: inside the row while ten are left.
    for (; i + 10 <= count; i += 8) {
        const uint8_t* at = source + 3 * i;
        const __m256i pixels =
            _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 12)), 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_or_si256(_mm256_shuffle_epi8(pixels, spread), alphas));
    }
    widenSsse3(source + 3 * i, out + i, count - i, alpha);
}

#endif

}  // namespace

bool canRun(WideningPath path) {
#if defined(QV_X86_VECTORS)
    switch (path) {
        case WideningPath::Avx2: return __builtin_cpu_supports("avx2");
        case WideningPath::Ssse3: return __builtin_cpu_supports("ssse3");
        case WideningPath::Plain: return true;
    }
#endif
    return path == WideningPath::Plain;
}

WideningPath fastestWideningPath() {
    static const WideningPath fastest = canRun(WideningPath::Avx2)    ? WideningPath::Avx2
                                        : canRun(WideningPath::Ssse3) ? WideningPath::Ssse3
                                                                      : WideningPath::Plain;
    return fastest;
}

void widenRow(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha, WideningPath path) {
    if (count <= 0) {
        return;
    }
#if defined(QV_X86_VECTORS)
    if (path == WideningPath::Avx2 && canRun(path)) {
        widenAvx2(source, out, count, alpha);
        return;
    }
    if (path == WideningPath::Ssse3 && canRun(path)) {
        widenSsse3(source, out, count, alpha);
        return;
    }
#endif
    (void)path;
    widenPlain(source, out, count, alpha);
}

}  // namespace qv
