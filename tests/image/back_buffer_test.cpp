#include "app/back_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/boxes.h"

namespace qv {
namespace {

TEST(BackBuffer, NewBufferIsBlackWithTopRowStoredLast) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(448, 640, 0), 1);
    ASSERT_NE(buffer.bits, nullptr);
    EXPECT_EQ(buffer.rowBytes(), 1344);
    EXPECT_EQ(buffer.srcX + buffer.srcY, 0);
    EXPECT_TRUE(std::all_of(buffer.bits, buffer.bits + 1344 * 640, [](uint8_t byte) { return byte == 0; }));
    EXPECT_EQ(buffer.pixelAt(0, 0), buffer.bits + 639 * 1344);
}

TEST(BackBuffer, ReleasingTwiceReportsNothingTheSecondTime) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(8, 8, 3), 1);
    EXPECT_EQ(buffer.releaseBackBuffer(), 1);
    EXPECT_EQ(buffer.releaseBackBuffer(), 0);
    EXPECT_EQ(buffer.bits, nullptr);
    EXPECT_EQ(buffer.width + buffer.height + buffer.srcX + buffer.srcY, 0);
}

TEST(BackBuffer, ZeroOrNegativeSizeLeavesItEmptyEvenIfOneExisted) {
    for (auto [width, height] : {std::pair{0, 640}, {448, 0}, {-1, 5}, {5, -1}}) {
        BackBuffer buffer;
        ASSERT_EQ(buffer.createBackBuffer(16, 16, 0), 1);
        EXPECT_EQ(buffer.createBackBuffer(width, height, 0), 0) << width << " x " << height;
        EXPECT_FALSE(buffer.exists());
        EXPECT_EQ(buffer.width + buffer.height, 0);
    }
}

// Draws one box on an 80 x 70 black picture and compares every pixel with the box's shape:
// exactly its pixels that lie inside the picture, the border alone for a frame.
void expectBoxShape(int32_t left, int32_t top, int32_t size, bool frameOnly) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(80, 70, 0), 1);
    const uint32_t colour = 0x00112233;
    ASSERT_EQ(
        frameOnly ? frameBox(buffer, left, top, size, size, colour) : fillBox(buffer, left, top, size, size, colour),
        1);
    for (int32_t y = 0; y < buffer.height; ++y) {
        for (int32_t x = 0; x < buffer.width; ++x) {
            const bool inside = x >= left && x < left + size && y >= top && y < top + size;
            const bool onEdge = x == left || x == left + size - 1 || y == top || y == top + size - 1;
            const uint8_t* pixel = buffer.pixelAt(x, y);
            const bool painted = pixel[0] == 0x11 && pixel[1] == 0x22 && pixel[2] == 0x33;  // blue, green, red
            ASSERT_EQ(painted, inside && (!frameOnly || onEdge))
                << "pixel " << x << "," << y << " of box at " << left << "," << top;
        }
    }
}

TEST(Boxes, ExactShapesInsideAndClippedAtEveryEdge) {
    for (auto [x, y] : {std::pair{10, 12}, {-5, 20}, {30, -7}, {70, 3}, {4, 60}, {-30, -30}, {200, 200}}) {
        expectBoxShape(x, y, 17, false);
        expectBoxShape(x, y, 53, true);
    }
}

TEST(Boxes, NoBackBufferMeansNoDrawing) {
    BackBuffer buffer;
    EXPECT_EQ(fillBox(buffer, 0, 0, 17, 17, kGrey), 0);
    EXPECT_EQ(frameBox(buffer, 0, 0, 53, 53, kGrey), 0);
}

}  // namespace
}  // namespace qv
