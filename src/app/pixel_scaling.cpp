#include "app/pixel_scaling.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace qv {

namespace {

void widenRow32(const uint8_t* row, int32_t count, int32_t scale, uint8_t* out) {
    for (int32_t i = 0; i < count; ++i, row += 4) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, row, 4);
        for (int32_t copy = 0; copy < scale; ++copy, out += 4) {
            std::memcpy(out, &pixel, 4);
        }
    }
}

void widenRowAnySize(const uint8_t* row, int32_t count, int32_t pixelBytes, int32_t scale, uint8_t* out) {
    for (int32_t i = 0; i < count; ++i, row += pixelBytes) {
        for (int32_t copy = 0; copy < scale; ++copy, out += pixelBytes) {
            std::memcpy(out, row, static_cast<std::size_t>(pixelBytes));
        }
    }
}

#ifdef __SSE2__

// Four 32-bit pixels become 4 x kScale words, stored straight into each of the block's rows: no row
// is read back to be copied. The stores go through the cache: measured, streaming them past it
// costs more, at every scale (the window system reads them soon after, and a few windows fit in
// the last-level cache).
template <int kScale>
void scaleWords(const uint8_t* row, int32_t count, uint8_t* blockTop, int32_t pitch) {
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * i));
        __m128i words[kScale];
        if constexpr (kScale == 2) {
            words[0] = _mm_unpacklo_epi32(pixels, pixels);
            words[1] = _mm_unpackhi_epi32(pixels, pixels);
        } else {
            words[0] = _mm_shuffle_epi32(pixels, _MM_SHUFFLE(1, 0, 0, 0));
            words[1] = _mm_shuffle_epi32(pixels, _MM_SHUFFLE(2, 2, 1, 1));
            words[2] = _mm_shuffle_epi32(pixels, _MM_SHUFFLE(3, 3, 3, 2));
        }
        for (int32_t copy = 0; copy < kScale; ++copy) {
            uint8_t* out = blockTop + int64_t{copy} * pitch + int64_t{i} * 4 * kScale;
            for (int32_t part = 0; part < kScale; ++part) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * part), words[part]);
            }
        }
    }
    for (int32_t copy = 0; copy < kScale; ++copy) {
        widenRow32(row + 4 * i, count - i, kScale, blockTop + int64_t{copy} * pitch + int64_t{i} * 4 * kScale);
    }
}

#endif

}  // namespace

void scaleRowToBlock(const uint8_t* row, int32_t count, int32_t pixelBytes, int32_t scale, uint8_t* blockTop,
                     int32_t pitch) {
#ifdef __SSE2__
    if (pixelBytes == 4 && scale == 2) {
        scaleWords<2>(row, count, blockTop, pitch);
        return;
    }
    if (pixelBytes == 4 && scale == 3) {
        scaleWords<3>(row, count, blockTop, pitch);
        return;
    }
#endif
    if (pixelBytes == 4) {
        widenRow32(row, count, scale, blockTop);
    } else {
        widenRowAnySize(row, count, pixelBytes, scale, blockTop);
    }
    const auto rowBytes = static_cast<std::size_t>(count) * static_cast<std::size_t>(pixelBytes) * scale;
    for (int32_t copy = 1; copy < scale; ++copy) {
        std::memcpy(blockTop + int64_t{copy} * pitch, blockTop, rowBytes);
    }
}

}  // namespace qv
