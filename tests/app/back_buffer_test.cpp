#include "app/back_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/boxes.h"

// The back buffer and the boxes drawn into it.

namespace qv {
namespace {

TEST(BackBuffer, BlackWhenMadeReleasedOnceEmptyForSizesBelowOne) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(448, 640, 0), 1);
    EXPECT_TRUE(std::all_of(buffer.bits, buffer.bits + 1344 * 640, [](uint8_t byte) { return byte == 0; }));
    EXPECT_EQ(buffer.pixelAt(0, 0), buffer.bits + 639 * 1344);  // rows of 1344 bytes, the top one stored last
    EXPECT_EQ(buffer.releaseBackBuffer(), 1);
    EXPECT_EQ(buffer.releaseBackBuffer(), 0);
    EXPECT_EQ(buffer.width + buffer.height + buffer.srcX + buffer.srcY, 0);
    for (auto [width, height] : {std::pair{0, 640}, {448, 0}, {-1, 5}, {5, -1}}) {
        ASSERT_EQ(buffer.createBackBuffer(16, 16, 0), 1);
        EXPECT_EQ(buffer.createBackBuffer(width, height, 0), 0) << width << " x " << height;
        EXPECT_TRUE(!buffer.exists() && buffer.width == 0 && buffer.height == 0) << width << " x " << height;
    }
    EXPECT_EQ(fillBox(buffer, 0, 0, 17, 17, kGrey) + frameBox(buffer, 0, 0, 53, 53, kGrey), 0);  // nothing to draw on
}

// One box on an 80 x 70 black picture paints exactly its pixels inside the picture (the border
// alone for a frame), whether it lies inside, across an edge or wholly outside.
TEST(Boxes, ExactShapesInsideAndClippedAtEveryEdge) {
    for (auto [left, top] : {std::pair{10, 12}, {-5, 20}, {30, -7}, {70, 3}, {4, 60}, {-30, -30}, {200, 200}}) {
        for (const bool frameOnly : {false, true}) {
            const int32_t size = frameOnly ? 53 : 17;
            BackBuffer buffer;
            ASSERT_EQ(buffer.createBackBuffer(80, 70, 0), 1);
            ASSERT_EQ((frameOnly ? frameBox : fillBox)(buffer, left, top, size, size, 0x00112233), 1);
            for (int32_t i = 0; i < 80 * 70; ++i) {
                const int32_t x = i % 80, y = i / 80;
                const bool inside = x >= left && x < left + size && y >= top && y < top + size;
                const bool onEdge = x == left || x == left + size - 1 || y == top || y == top + size - 1;
                // Colour 0x00112233 is stored blue, green, red.
                const bool painted = std::equal(buffer.pixelAt(x, y), buffer.pixelAt(x, y) + 3, "\x11\x22\x33");
                ASSERT_EQ(painted, inside && (!frameOnly || onEdge))
                    << "pixel " << x << "," << y << " of " << size << "-box at " << left << "," << top;
            }
        }
    }
}

}  // namespace
}  // namespace qv
