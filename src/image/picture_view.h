#pragma once

#include <cstdint>

namespace qv {

// A look at a 24-bit picture stored bottom-up, blue-green-red, that someone else owns: the first
// row in memory is the bottom of the picture, and rows are `stride` bytes apart.
struct PictureView {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;  // bytes per row

    // Byte offset of pixel (x, y), y counted from the top; in 64 bits, so that a place far outside
    // the picture (which callers check against before they touch it) cannot overflow.
    constexpr int64_t offsetOf(int64_t x, int64_t y) const { return (int64_t{height} - 1 - y) * stride + 3 * x; }
    // The first byte (blue) of pixel (x, y), which must lie inside the picture.
    uint8_t* pixelAt(int32_t x, int32_t y) const { return pixels + offsetOf(x, y); }
};

}  // namespace qv
