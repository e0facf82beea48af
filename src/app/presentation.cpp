#include "app/presentation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/pixel_scaling.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace qv {

namespace {

// The part of the window that the copy reaches, in window coordinates: [begin, end) on one axis.
struct Span {
    int32_t begin = 0;
    int32_t end = 0;
};

Span copiedSpan(int32_t windowSize, int32_t pictureSize, int32_t sourceStart) {
    const int64_t begin = std::max<int64_t>(0, -int64_t{sourceStart});
    const int64_t end = std::min<int64_t>({windowSize, pictureSize, int64_t{pictureSize} - sourceStart});
    return {static_cast<int32_t>(begin), static_cast<int32_t>(std::max(begin, end))};
}

bool isEightBitChannels32(const SDL_PixelFormat& format) {
    return format.BytesPerPixel == 4 && format.Rloss == 0 && format.Gloss == 0 && format.Bloss == 0;
}

// 32-bit pixels with 8-bit channels. The channel places are template arguments for the usual
// layouts, so that the shifts are constants inside the loop.
template <int kRed, int kGreen, int kBlue>
void copyRowFixed(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha) {
    for (int32_t i = 0; i < count; ++i, source += 3) {
        out[i] = (uint32_t{source[2]} << kRed) | (uint32_t{source[1]} << kGreen) | (uint32_t{source[0]} << kBlue) | alpha;
    }
}

// Four pixels at a time: three 32-bit loads hold them. Where the processor can, the pixels are
// streamed past the cache: only the window system reads them, and streaming spares fetching every
// destination line before it is overwritten (a quarter less processor time for the whole copy).
void storeFour(uint32_t* out, const uint32_t (&pixels)[4]) {
#ifdef __SSE2__
    if ((reinterpret_cast<uintptr_t>(out) & 15) == 0) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(out), _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)));
        return;
    }
#endif
    std::memcpy(out, pixels, sizeof pixels);
}

void finishStores() {
#ifdef __SSE2__
    _mm_sfence();  // the streamed pixels are in memory before the window system reads them
#endif
}

// The layout X servers give, red above green above blue, on a little-endian processor.
void copyRowBlueLow(const uint8_t* source, uint32_t* out, int32_t count, uint32_t alpha) {
    int32_t i = 0;
    for (; i + 4 <= count; i += 4, source += 12) {
        uint32_t word[3];
        std::memcpy(word, source, sizeof word);
        const uint32_t pixels[4] = {(word[0] & 0xFFFFFF) | alpha, (word[0] >> 24) | ((word[1] & 0xFFFF) << 8) | alpha,
                                    (word[1] >> 16) | ((word[2] & 0xFF) << 16) | alpha, (word[2] >> 8) | alpha};
        storeFour(out + i, pixels);
    }
    copyRowFixed<16, 8, 0>(source, out + i, count - i, alpha);
}

void copyRowAnyOrder(const uint8_t* source, uint32_t* out, int32_t count, const SDL_PixelFormat& format) {
    const int red = format.Rshift;
    const int green = format.Gshift;
    const int blue = format.Bshift;
    const uint32_t alpha = format.Amask;
    for (int32_t i = 0; i < count; ++i, source += 3) {
        out[i] = (uint32_t{source[2]} << red) | (uint32_t{source[1]} << green) | (uint32_t{source[0]} << blue) | alpha;
    }
}

void copyRow32(const uint8_t* source, uint8_t* destination, int32_t count, const SDL_PixelFormat& format) {
    auto* out = reinterpret_cast<uint32_t*>(destination);
    if (format.Rshift == 16 && format.Gshift == 8 && format.Bshift == 0) {
        if constexpr (SDL_BYTEORDER == SDL_LIL_ENDIAN) {
            copyRowBlueLow(source, out, count, format.Amask);
        } else {
            copyRowFixed<16, 8, 0>(source, out, count, format.Amask);
        }
    } else if (format.Rshift == 0 && format.Gshift == 8 && format.Bshift == 16) {
        copyRowFixed<0, 8, 16>(source, out, count, format.Amask);
    } else {
        copyRowAnyOrder(source, out, count, format);
    }
}

}  // namespace

void convertBackBufferRow(const uint8_t* source, uint8_t* destination, int32_t count, const SDL_PixelFormat& format) {
    if (isEightBitChannels32(format)) {
        copyRow32(source, destination, count, format);
    } else {
        SDL_ConvertPixels(count, 1, SDL_PIXELFORMAT_BGR24, source, count * 3, format.format, destination,
                          count * format.BytesPerPixel);
    }
}

void copyPicture(const BackBuffer& picture, const PixelDestination& destination, int32_t scale) {
    if (!picture.exists() || scale < 1) {
        return;
    }
    const Span columns = copiedSpan(destination.width / scale, picture.width, picture.srcX);
    const Span rows = copiedSpan(destination.height / scale, picture.height, picture.srcY);
    const int32_t count = columns.end - columns.begin;
    if (count <= 0 || rows.end <= rows.begin) {
        return;
    }
    const SDL_PixelFormat& format = *destination.format;
    const int32_t pixelBytes = format.BytesPerPixel;
    // At scale 1 a row is converted straight into the window; larger scales convert it into a row
    // that stays in the cache and widen it from there. That row starts off a 16-byte boundary, so
    // the conversion writes it through the cache instead of streaming it past (a third less time
    // for the whole copy, since it is read again at once).
    constexpr std::size_t kOffBoundary = 4;
    std::vector<uint8_t> convertedRowStore(scale > 1 ? static_cast<std::size_t>(count) * pixelBytes + kOffBoundary : 0);
    uint8_t* convertedRowData = scale > 1 ? convertedRowStore.data() + kOffBoundary : nullptr;
    // Bottom-up: the back buffer is read in memory order, which the processor prefetches best.
    for (int32_t y = rows.end - 1; y >= rows.begin; --y) {
        const uint8_t* source = picture.pixelAt(columns.begin + picture.srcX, y + picture.srcY);
        uint8_t* blockTop = destination.pixels + int64_t{y} * scale * destination.pitch +
                            int64_t{columns.begin} * scale * pixelBytes;
        if (scale == 1) {
            convertBackBufferRow(source, blockTop, count, format);
        } else {
            convertBackBufferRow(source, convertedRowData, count, format);
            scaleRowToBlock(convertedRowData, count, pixelBytes, scale, blockTop, destination.pitch);
        }
    }
    finishStores();
}

void copyToSurface(const BackBuffer& picture, SDL_Surface& surface, int32_t scale) {
    copyPicture(picture, {static_cast<uint8_t*>(surface.pixels), surface.pitch, surface.w, surface.h, surface.format},
                scale);
}

}  // namespace qv
