#include <gtest/gtest.h>

#include <vector>

#include "app/pixel_scaling.h"

namespace qv {
namespace {

// Whatever the window's pixel size, each pixel of a row becomes a scale x scale block of the same
// bytes, and the bytes past the block's rows (the rest of each pitch) stay untouched.
TEST(ScaleRowToBlock, RepeatsEveryPixelAcrossAndDown) {
    for (const int32_t pixelBytes : {2, 3, 4}) {
        for (const int32_t scale : {2, 3}) {
            constexpr int32_t kCount = 3;
            std::vector<uint8_t> row(kCount * pixelBytes);
            for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(10 + i);
            const int32_t pitch = kCount * pixelBytes * scale + 5;
            std::vector<uint8_t> block(static_cast<std::size_t>(pitch) * scale, 0xEE);
            scaleRowToBlock(row.data(), kCount, pixelBytes, scale, block.data(), pitch);
            for (int32_t y = 0; y < scale; ++y) {
                for (int32_t x = 0; x < kCount * scale; ++x) {
                    for (int32_t b = 0; b < pixelBytes; ++b) {
                        ASSERT_EQ(block[y * pitch + x * pixelBytes + b], row[(x / scale) * pixelBytes + b])
                            << pixelBytes << " bytes, scale " << scale << " at " << x << "," << y;
                    }
                }
                for (int32_t pad = kCount * pixelBytes * scale; pad < pitch; ++pad) {
                    ASSERT_EQ(block[y * pitch + pad], 0xEE) << "padding of row " << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv
