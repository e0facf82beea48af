#include "image/image_layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "image/bmp_files.h"
#include "image/frame_target.h"

namespace qv {
namespace {

constexpr uint8_t kUntouched = 0x11;
constexpr std::array<uint8_t, 3> kUntouchedPixel{kUntouched, kUntouched, kUntouched};

// A layer over a frame target of its own. The layer is made first: making a Drawable empties the
// frame target.
struct LayerOverTarget {
    LayerOverTarget(int32_t imageWidth, int32_t imageHeight, int32_t targetWidth, int32_t targetHeight)
        : target(static_cast<std::size_t>(targetWidth) * 3 * targetHeight, kUntouched) {
        BmpImage& image = layer.image;
        image.rowBytes = setHeaders(image.infoHeader, &image.fileHeader, imageWidth, imageHeight, 24);
        image.pixels = std::make_unique<uint8_t[]>(image.infoHeader.imageSize);
        for (uint32_t i = 0; i < image.infoHeader.imageSize; ++i) {
            image.pixels[i] = static_cast<uint8_t>(i * 31 + 7);
        }
        frameTarget = FrameTarget{target.data(), targetWidth * 3, targetHeight};
    }
    ~LayerOverTarget() { frameTarget = FrameTarget{}; }

    bool touched() const {
        return std::any_of(target.begin(), target.end(), [](uint8_t byte) { return byte != kUntouched; });
    }
    // True when the window (sourceX, sourceY, w, h) of the image sits at (x, y) of the target and
    // nothing else changed.
    bool holdsWindowAt(int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, int32_t x, int32_t y) const {
        for (int32_t row = 0; row < frameTarget.height; ++row) {
            for (int32_t column = 0; column < frameTarget.stride / 3; ++column) {
                const uint8_t* pixel = &target[(frameTarget.height - 1 - row) * frameTarget.stride + 3 * column];
                const bool inside = column >= x && column < x + w && row >= y && row < y + h;
                const uint8_t* expected =
                    inside ? layer.image.pixels.get() +
                                 (layer.image.height() - 1 - (sourceY + row - y)) * layer.image.rowBytes +
                                 3 * (sourceX + column - x)
                           : kUntouchedPixel.data();
                if (!std::equal(pixel, pixel + 3, expected)) {
                    return false;
                }
            }
        }
        return true;
    }

    ImageLayer layer;
    std::vector<uint8_t> target;
};

TEST(ImageLayer, GameLayerCopiesItsTopRowToByte815904) {
    LayerOverTarget scene(384, 576, 448, 640);
    scene.layer.setSource(0, 0, 384, 576);
    scene.layer.setPosition(32, 32);
    EXPECT_EQ(scene.layer.sourceOffset, 662400);
    scene.layer.draw();
    EXPECT_EQ(scene.target[815904], scene.layer.image.pixels[662400]);
    EXPECT_TRUE(scene.holdsWindowAt(0, 0, 384, 576, 32, 32));
}

TEST(ImageLayer, NarrowWindowCopiesOnlyItsOwnColumns) {
    LayerOverTarget scene(20, 25, 40, 30);
    scene.layer.setSource(10, 20, 5, 2);
    EXPECT_EQ(scene.layer.sourceOffset, 4 * 60 + 30);
    scene.layer.setPosition(3, 4);
    scene.layer.draw();
    EXPECT_TRUE(scene.holdsWindowAt(10, 20, 5, 2, 3, 4));
}

TEST(ImageLayer, WindowTouchingEveryFarEdgeDraws) {
    LayerOverTarget scene(10, 9, 16, 12);
    scene.layer.setSource(6, 5, 4, 4);
    scene.layer.setPosition(12, 8);
    scene.layer.draw();
    EXPECT_TRUE(scene.holdsWindowAt(6, 5, 4, 4, 12, 8));
}

// A window or destination that would leave either picture draws nothing at all.
TEST(ImageLayer, DrawsNothingOutsideEitherPicture) {
    struct Case {
        int32_t sourceX, sourceY, width, height, x, y;
    };
    for (const Case& c :
         {Case{0, 0, 4, 0, 0, 0}, Case{0, 0, 0, 4, 0, 0}, Case{0, 0, 4, -2, 0, 0}, Case{7, 0, 4, 4, 0, 0},
          Case{0, 6, 4, 4, 0, 0}, Case{-1, 0, 4, 4, 0, 0}, Case{0, -1, 4, 4, 0, 0}, Case{0, 0, 4, 4, 13, 0},
          Case{0, 0, 4, 4, 0, 9}, Case{0, 0, 4, 4, -1, 0}, Case{0, 0, 4, 4, 0, -1},
          Case{0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0}, Case{0, 0, 4, 4, 0x7FFFFFF0, 0x7FFFFFF0}}) {
        LayerOverTarget scene(10, 9, 16, 12);
        scene.layer.setSource(c.sourceX, c.sourceY, c.width, c.height);
        scene.layer.setPosition(c.x, c.y);
        scene.layer.draw();
        EXPECT_FALSE(scene.touched()) << c.sourceX << "," << c.sourceY << " " << c.width << "x" << c.height << " at "
                                      << c.x << "," << c.y;
    }
}

TEST(ImageLayer, DrawsNothingWithoutPixelsOrTargetOrAfterTheImageChangedSize) {
    LayerOverTarget scene(10, 9, 16, 12);
    scene.layer.setSource(0, 0, 4, 4);
    ASSERT_EQ(scene.layer.image.scale(5, 5), 1);
    scene.layer.draw();  // the window was chosen for the old size
    EXPECT_FALSE(scene.touched());
    scene.layer.image.clear();
    scene.layer.setSource(0, 0, 4, 4);
    scene.layer.draw();
    EXPECT_FALSE(scene.touched());
    frameTarget = FrameTarget{};
    scene.layer.draw();  // no target at all
}

TEST(ImageLayer, ReloadOfAMissingFileLeavesAnEmptyImage) {
    testing::TempFolder folder;
    ImageLayer layer;
    ASSERT_EQ(
        layer.reload(folder.write("t.bmp", testing::trueColourFile(2, 2, std::vector<testing::Colour>(4))).c_str()), 1);
    EXPECT_EQ(layer.reload(folder.file("absent.bmp").c_str()), 0);
    EXPECT_FALSE(layer.image.hasPixels());
    EXPECT_EQ(layer.image.width(), 0);
}

}  // namespace
}  // namespace qv
