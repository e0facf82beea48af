#include <gtest/gtest.h>

#include <algorithm>

#include "app/back_buffer.h"
#include "app/boxes.h"

namespace qv {
namespace {

TEST(BackBuffer, NewBufferIsBlackAndSized) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(448, 640, 0), 1);
    ASSERT_NE(buffer.bits, nullptr);
    EXPECT_EQ(buffer.width, 448);
    EXPECT_EQ(buffer.height, 640);
    EXPECT_EQ(buffer.srcX, 0);
    EXPECT_EQ(buffer.srcY, 0);
    EXPECT_EQ(buffer.rowBytes(), 1344);
    EXPECT_TRUE(std::all_of(buffer.bits, buffer.bits + 1344 * 640, [](uint8_t byte) { return byte == 0; }));
    // Picture row 0 is the last stored row.
    EXPECT_EQ(buffer.pixelAt(0, 0), buffer.bits + 639 * 1344);
}

TEST(BackBuffer, ReleasingTwiceReportsNothingTheSecondTime) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(8, 8, 3), 1);
    EXPECT_EQ(buffer.srcX, 3);
    EXPECT_EQ(buffer.releaseBackBuffer(), 1);
    EXPECT_EQ(buffer.releaseBackBuffer(), 0);
    EXPECT_EQ(buffer.bits, nullptr);
    EXPECT_EQ(buffer.width, 0);
    EXPECT_EQ(buffer.srcX, 0);
}

TEST(BackBuffer, ZeroOrNegativeSizeLeavesItEmptyEvenIfOneExisted) {
    for (auto [width, height] : {std::pair{0, 640}, {448, 0}, {-1, 5}, {5, -1}}) {
        BackBuffer buffer;
        ASSERT_EQ(buffer.createBackBuffer(16, 16, 0), 1);
        EXPECT_EQ(buffer.createBackBuffer(width, height, 0), 0) << width << " x " << height;
        EXPECT_FALSE(buffer.exists());
        EXPECT_EQ(buffer.width, 0);
        EXPECT_EQ(buffer.height, 0);
    }
}

// The picture as a grid of "painted" flags, for comparing box shapes.
std::vector<bool> paintedPixels(const BackBuffer& buffer) {
    std::vector<bool> painted;
    for (int32_t y = 0; y < buffer.height; ++y) {
        for (int32_t x = 0; x < buffer.width; ++x) {
            const uint8_t* pixel = buffer.pixelAt(x, y);
            painted.push_back(pixel[0] != 0 || pixel[1] != 0 || pixel[2] != 0);
        }
    }
    return painted;
}

std::vector<bool> expectedBox(const BackBuffer& buffer, int32_t left, int32_t top, int32_t size, bool frameOnly) {
    std::vector<bool> painted;
    for (int32_t y = 0; y < buffer.height; ++y) {
        for (int32_t x = 0; x < buffer.width; ++x) {
            const bool inside = x >= left && x < left + size && y >= top && y < top + size;
            const bool onEdge = x == left || x == left + size - 1 || y == top || y == top + size - 1;
            painted.push_back(inside && (!frameOnly || onEdge));
        }
    }
    return painted;
}

struct BoxCase {
    const char* name;
    int32_t x, y;
};

// Inside, and hanging over every edge: exactly the pixels of the box that lie in the picture.
const BoxCase kBoxPlaces[] = {{"inside", 10, 12}, {"over the left", -5, 20}, {"over the top", 30, -7},
                              {"over the right", 70, 3}, {"over the bottom", 4, 60}, {"over a corner", -30, -30},
                              {"wholly outside", 200, 200}};

TEST(Boxes, FillBoxPaintsExactlySeventeenSquare) {
    for (const BoxCase& place : kBoxPlaces) {
        BackBuffer buffer;
        ASSERT_EQ(buffer.createBackBuffer(80, 70, 0), 1);
        EXPECT_EQ(fillBox(buffer, place.x, place.y, 17, 17, 0x0000FF), 1);
        EXPECT_EQ(paintedPixels(buffer), expectedBox(buffer, place.x, place.y, 17, false)) << place.name;
    }
}

TEST(Boxes, FrameBoxPaintsTheBorderOfFiftyThreeSquare) {
    for (const BoxCase& place : kBoxPlaces) {
        BackBuffer buffer;
        ASSERT_EQ(buffer.createBackBuffer(80, 70, 0), 1);
        EXPECT_EQ(frameBox(buffer, place.x, place.y, 53, 53, kGrey), 1);
        EXPECT_EQ(paintedPixels(buffer), expectedBox(buffer, place.x, place.y, 53, true)) << place.name;
    }
}

TEST(Boxes, ColourIsStoredBlueGreenRed) {
    BackBuffer buffer;
    ASSERT_EQ(buffer.createBackBuffer(4, 4, 0), 1);
    fillBox(buffer, 1, 1, 1, 1, 0x00112233);  // red 0x33, green 0x22, blue 0x11
    const uint8_t* pixel = buffer.pixelAt(1, 1);
    EXPECT_EQ(pixel[0], 0x11);
    EXPECT_EQ(pixel[1], 0x22);
    EXPECT_EQ(pixel[2], 0x33);
}

TEST(Boxes, NoBackBufferMeansNoDrawing) {
    BackBuffer buffer;
    EXPECT_EQ(fillBox(buffer, 0, 0, 17, 17, kGrey), 0);
    EXPECT_EQ(frameBox(buffer, 0, 0, 53, 53, kGrey), 0);
}

}  // namespace
}  // namespace qv
