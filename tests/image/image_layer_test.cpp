#include <gtest/gtest.h>

#include "app/back_buffer.h"
#include "app/boxes.h"
#include "image/bmp_files.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

// Pictures drawn into the frame: image layers copying windows, the back buffer, boxes.

namespace qv {
namespace {

using namespace testing;

constexpr uint8_t kUntouched = 0x11;

// A layer over a frame target of its own. The layer is made first: making a Drawable empties the
// frame target.
struct LayerOverTarget {
    LayerOverTarget(int32_t imageWidth, int32_t imageHeight, int32_t targetWidth, int32_t targetHeight)
        : target(std::size_t(targetWidth) * 3 * targetHeight, kUntouched) {
        layer.image = coordinatePicture(imageWidth, imageHeight);
        frameTarget = FrameTarget{target.data(), targetWidth * 3, targetHeight};
    }
    ~LayerOverTarget() { frameTarget = FrameTarget{}; }

    // True when the w x h window at (sourceX, sourceY) of the image sits at (x, y) of the target
    // and nothing else changed.
    bool holdsWindowAt(int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, int32_t x, int32_t y) const {
        std::vector<uint8_t> expected(target.size(), kUntouched);
        for (int32_t i = 0; i < w * h; ++i) {
            std::copy_n(coordinates(sourceX + i % w, sourceY + i / w).begin(), 3,
                        &expected[offsetOf(x + i % w, y + i / w, frameTarget.height, frameTarget.stride)]);
        }
        return target == expected;
    }

    ImageLayer layer;
    std::vector<uint8_t> target;
};

// The window's top row starts at byte sourceOffset of the image and lands at byte `destination`
// of the target; the first case is the game's background over its 448 x 640 frame.
TEST(ImageLayer, CopiesItsWindowToItsPosition) {
    // image and target sizes, window, position, offsets of the window's top row in each
    for (auto [imageWidth, imageHeight, targetWidth, targetHeight, sourceX, sourceY, w, h, x, y, source, destination] :
         {std::array{384, 576, 448, 640, 0, 0, 384, 576, 32, 32, 662400, 815904},
          {20, 25, 40, 30, 10, 20, 5, 2, 3, 4, 4 * 60 + 30, 25 * 120 + 9},
          {10, 9, 16, 12, 6, 5, 4, 4, 12, 8, 3 * 32 + 18, 3 * 48 + 36}}) {
        LayerOverTarget scene(imageWidth, imageHeight, targetWidth, targetHeight);
        scene.layer.setSource(sourceX, sourceY, w, h);
        scene.layer.setPosition(x, y);
        EXPECT_EQ(scene.layer.sourceOffset, source) << imageWidth;
        scene.layer.draw();
        const uint8_t* topRow = scene.layer.image.pixels.get() + source;
        EXPECT_TRUE(std::equal(topRow, topRow + 3 * w, &scene.target[destination])) << imageWidth;
        EXPECT_TRUE(scene.holdsWindowAt(sourceX, sourceY, w, h, x, y)) << imageWidth;
    }
}

// A 10 x 9 image over a 16 x 12 target: a window or destination that would leave either picture,
// a window chosen before the image changed size or no target at all draw nothing.
TEST(ImageLayer, DrawsNothingOutsideEitherPicture) {
    constexpr int kMax = INT32_MAX, kFar = INT32_MAX - 15;
    const std::array<int, 6> cases[] = {
        {0, 0, 4, 0, 0, 0},  {0, 0, 0, 4, 0, 0},       {0, 0, 4, -2, 0, 0},     {7, 0, 4, 4, 0, 0}, {0, 6, 4, 4, 0, 0},
        {-1, 0, 4, 4, 0, 0}, {0, -1, 4, 4, 0, 0},      {0, 0, 4, 4, 13, 0},     {0, 0, 4, 4, 0, 9}, {0, 0, 4, 4, -1, 0},
        {0, 0, 4, 4, 0, -1}, {0, 0, kMax, kMax, 0, 0}, {0, 0, 4, 4, kFar, kFar}};
    for (const auto& c : cases) {  // window, position
        LayerOverTarget scene(10, 9, 16, 12);
        scene.layer.setSource(c[0], c[1], c[2], c[3]);
        scene.layer.setPosition(c[4], c[5]);
        scene.layer.draw();
        EXPECT_TRUE(scene.holdsWindowAt(0, 0, 0, 0, 0, 0)) << ::testing::PrintToString(c);
    }
    LayerOverTarget scene(10, 9, 16, 12);
    scene.layer.setSource(0, 0, 4, 4);
    ASSERT_EQ(scene.layer.image.scale(5, 5), 1);
    scene.layer.draw();  // the window was chosen for the old size
    EXPECT_TRUE(scene.holdsWindowAt(0, 0, 0, 0, 0, 0));
    frameTarget = FrameTarget{};
    scene.layer.draw();  // no target at all
}

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
