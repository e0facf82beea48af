#include <gtest/gtest.h>

#include "image/bmp_files.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

// Image layers: each copies a window of its picture into the frame target.

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
        PictureView picture = frameTarget.view();
        picture.pixels = expected.data();
        for (int32_t i = 0; i < w * h; ++i) {
            std::copy_n(coordinates(sourceX + i % w, sourceY + i / w).begin(), 3, picture.pixelAt(x + i % w, y + i / w));
        }
        return target == expected;
    }

    ImageLayer layer;
    std::vector<uint8_t> target;
};

// The first case is the game's background over its 448 x 640 frame.
TEST(ImageLayer, CopiesItsWindowToItsPosition) {
    // image and target sizes, window, position
    for (auto [imageWidth, imageHeight, targetWidth, targetHeight, sourceX, sourceY, w, h, x, y] :
         {std::array{384, 576, 448, 640, 0, 0, 384, 576, 32, 32}, {20, 25, 40, 30, 10, 20, 5, 2, 3, 4},
          {10, 9, 16, 12, 6, 5, 4, 4, 12, 8}}) {
        LayerOverTarget scene(imageWidth, imageHeight, targetWidth, targetHeight);
        scene.layer.setSource(sourceX, sourceY, w, h);
        scene.layer.setPosition(x, y);
        scene.layer.draw();
        EXPECT_TRUE(scene.holdsWindowAt(sourceX, sourceY, w, h, x, y)) << imageWidth;
    }
}

// A 10 x 9 image over a 16 x 12 target: a window or destination that would leave either picture,
// a window chosen before the image changed size or no target at all draw nothing.
TEST(ImageLayer, DrawsNothingOutsideEitherPicture) {
    constexpr int kMax = INT32_MAX, kFar = INT32_MAX - 15;
    const std::array<int, 6> cases[] = {
        {0, 0, -2, 4, 0, 0}, {0, 0, 4, -2, 0, 0}, {7, 0, 4, 4, 0, 0}, {0, 6, 4, 4, 0, 0},       {-1, 0, 4, 4, 0, 0},
        {0, -1, 4, 4, 0, 0}, {0, 0, 4, 4, 13, 0}, {0, 0, 4, 4, 0, 9}, {0, 0, 4, 4, -1, 0},      {0, 0, 4, 4, 0, -1},
        {0, 0, kMax, kMax, 0, 0}, {0, 0, 4, 4, kFar, kFar}};
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
    scene.layer.draw();  // no target at all: not even the one it drew into before
    EXPECT_TRUE(scene.holdsWindowAt(0, 0, 0, 0, 0, 0));
}

}  // namespace
}  // namespace qv
