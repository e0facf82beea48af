#include "app/boxes.h"

#include <algorithm>

#include "app/back_buffer.h"

namespace qv {

namespace {

// Paints the part of [left, right) x [top, bottom) that lies inside the picture.
void paintClipped(BackBuffer& target, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t colour) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, target.width);
    bottom = std::min<int64_t>(bottom, target.height);
    const auto blue = static_cast<uint8_t>(colour >> 16);
    const auto green = static_cast<uint8_t>(colour >> 8);
    const auto red = static_cast<uint8_t>(colour);
    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* pixel = target.pixelAt(static_cast<int32_t>(left), static_cast<int32_t>(row));
        for (int64_t column = left; column < right; ++column) {
            *pixel++ = blue;
            *pixel++ = green;
            *pixel++ = red;
        }
    }
}

}  // namespace

int fillBox(BackBuffer& target, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    if (!target.exists()) {
        return 0;
    }
    paintClipped(target, x, y, int64_t{x} + w, int64_t{y} + h, colour);
    return 1;
}

int frameBox(BackBuffer& target, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    if (!target.exists()) {
        return 0;
    }
    if (w <= 0 || h <= 0) {
        return 1;
    }
    const int64_t right = int64_t{x} + w;
    const int64_t bottom = int64_t{y} + h;
    paintClipped(target, x, y, right, y + 1, colour);           // top edge
    paintClipped(target, x, bottom - 1, right, bottom, colour);  // bottom edge
    paintClipped(target, x, y, x + 1, bottom, colour);           // left edge
    paintClipped(target, right - 1, y, right, bottom, colour);   // right edge
    return 1;
}

}  // namespace qv
