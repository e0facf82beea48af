#include "app/pixel_scaling.h"

#include <cstring>

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

}  // namespace

void scaleRowToBlock(const uint8_t* row, int32_t count, int32_t pixelBytes, int32_t scale, uint8_t* blockTop,
                     int32_t pitch) {
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
