#include "app/presentation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/pixel_conversion.h"
#include "app/pixel_scaling.h"


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
            // The layout X servers and streaming textures give, red above green above blue.
            widenRow(source, out, count, format.Amask);
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

std::vector<SDL_Rect> copyPictureRows(const BackBuffer& picture, const PixelDestination& destination, int32_t scale,
                                      std::span<const RowSpan> pictureRows) {
    std::vector<SDL_Rect> written;
    if (!picture.exists() || scale < 1) {
        return written;
    }
    const Span columns = copiedSpan(destination.width / scale, picture.width, picture.srcX);
    const Span rows = copiedSpan(destination.height / scale, picture.height, picture.srcY);
    const int32_t count = columns.end - columns.begin;
    if (count <= 0 || rows.end <= rows.begin) {
        return written;
    }
    const SDL_PixelFormat& format = *destination.format;
    const int32_t pixelBytes = format.BytesPerPixel;
    // At scale 1 a row is converted straight into the window; larger scales convert it into a row
    // that stays in the cache and enlarge it from there. Every store goes through the cache:
    // measured, streaming the window's rows past it costs several times more at scale 1 and a
    // quarter more at scales 2 and 3 (the window system reads them soon after).
    std::vector<uint8_t> convertedRowStore(scale > 1 ? static_cast<std::size_t>(count) * pixelBytes : 0);
    // Spans from the bottom up, and each bottom-up: the back buffer is read in memory order, which
    // the processor prefetches best.
    for (auto span = pictureRows.rbegin(); span != pictureRows.rend(); ++span) {
        const int32_t top = std::max(rows.begin, span->top - picture.srcY);
        const int32_t end = std::min<int64_t>(rows.end, int64_t{span->top} + span->height - picture.srcY);
        for (int32_t y = end - 1; y >= top; --y) {
            const uint8_t* source = picture.pixelAt(columns.begin + picture.srcX, y + picture.srcY);
            uint8_t* blockTop = destination.pixels + int64_t{y} * scale * destination.pitch +
                                int64_t{columns.begin} * scale * pixelBytes;
            if (scale == 1) {
                convertBackBufferRow(source, blockTop, count, format);
            } else {
                convertBackBufferRow(source, convertedRowStore.data(), count, format);
                scaleRowToBlock(convertedRowStore.data(), count, pixelBytes, scale, blockTop, destination.pitch);
            }
        }
        if (top < end) {
            written.push_back({columns.begin * scale, top * scale, count * scale, (end - top) * scale});
        }
    }
    return written;
}

void copyPicture(const BackBuffer& picture, const PixelDestination& destination, int32_t scale) {
    const RowSpan everyRow{0, picture.height};
    copyPictureRows(picture, destination, scale, {&everyRow, 1});
}

PixelDestination fittedRegion(const PixelDestination& destination, const PictureFit& fit, PixelSize client) {
    const int32_t left = std::clamp(fit.left, 0, destination.width);
    const int32_t top = std::clamp(fit.top, 0, destination.height);
    const int64_t width = std::min<int64_t>(int64_t{client.width} * fit.scale, destination.width - left);
    const int64_t height = std::min<int64_t>(int64_t{client.height} * fit.scale, destination.height - top);
    const int32_t pixelBytes = destination.format != nullptr ? destination.format->BytesPerPixel : 0;
    return {destination.pixels + int64_t{top} * destination.pitch + int64_t{left} * pixelBytes, destination.pitch,
            static_cast<int32_t>(std::max<int64_t>(width, 0)), static_cast<int32_t>(std::max<int64_t>(height, 0)),
            destination.format};
}

PixelDestination surfacePixels(SDL_Surface& surface) {
    return {static_cast<uint8_t*>(surface.pixels), surface.pitch, surface.w, surface.h, surface.format};
}

}  // namespace qv
