#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/bmp_files.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

namespace qv {
namespace {

// A frame target of its own, filled with 0x11 so untouched bytes are easy to see.
class Target {
public:
    Target(int32_t width, int32_t height) : bytes(static_cast<std::size_t>(width) * 3 * height, 0x11) {
        frameTarget = FrameTarget{bytes.data(), width * 3, height};
    }
    ~Target() { frameTarget = FrameTarget{}; }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    std::size_t changedBytes() const { return bytes.size() - static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), 0x11)); }
    // Bytes changed outside the w x h pixels at (left, top).
    std::size_t changedOutside(int32_t left, int32_t top, int32_t w, int32_t h) const {
        std::size_t changed = 0;
        for (int32_t y = 0; y < frameTarget.height; ++y) {
            for (int32_t x = 0; x < frameTarget.stride / 3; ++x) {
                const bool inside = x >= left && x < left + w && y >= top && y < top + h;
                const std::size_t at = static_cast<std::size_t>(frameTarget.height - 1 - y) * frameTarget.stride + 3 * x;
                changed += !inside && (bytes[at] != 0x11 || bytes[at + 1] != 0x11 || bytes[at + 2] != 0x11);
            }
        }
        return changed;
    }
    std::vector<uint8_t> bytes;
};

// Gives the layer's image width x height pixels, each byte a function of its position.
void fillImage(ImageLayer& layer, int32_t width, int32_t height) {
    BmpImage& image = layer.image;
    image.rowBytes = setHeaders(image.infoHeader, &image.fileHeader, width, height, 24);
    image.pixels = std::make_unique<uint8_t[]>(image.infoHeader.imageSize);
    for (uint32_t i = 0; i < image.infoHeader.imageSize; ++i) {
        image.pixels[i] = static_cast<uint8_t>(i * 31 + 7);
    }
}

TEST(SetSource, TopLeftWindowStartsAtTheLastStoredRow) {
    ImageLayer layer;
    fillImage(layer, 5, 4);
    layer.setSource(0, 0, 5, 4);
    EXPECT_EQ(layer.sourceOffset, 3 * 16);
    layer.setSource(2, 1, 3, 3);
    EXPECT_EQ(layer.sourceOffset, 2 * 16 + 6);
    EXPECT_EQ(layer.sourceWidth, 3);
    EXPECT_EQ(layer.sourceHeight, 3);
}

TEST(Draw, GameLayerLandsAtTheBackgroundsPlace) {
    ImageLayer layer;  // made first: making a Drawable empties the frame target
    Target target(448, 640);
    fillImage(layer, 384, 576);
    layer.setSource(0, 0, 384, 576);
    layer.setPosition(32, 32);
    EXPECT_EQ(layer.sourceOffset, 662400);
    layer.draw();

    // The top row of the picture goes to byte 815,904 of the target.
    EXPECT_TRUE(std::equal(target.bytes.begin() + 815904, target.bytes.begin() + 815904 + 1152, layer.image.pixels.get() + 662400));
    EXPECT_EQ(target.bytes[815904 - 1], 0x11);
    EXPECT_EQ(target.bytes[815904 + 1152], 0x11);
    // The bottom row of the picture, picture row 575, goes to target row 607.
    const std::size_t bottom = static_cast<std::size_t>(640 - 1 - 607) * 1344 + 96;
    EXPECT_TRUE(std::equal(target.bytes.begin() + bottom, target.bytes.begin() + bottom + 1152, layer.image.pixels.get()));
    EXPECT_EQ(target.changedOutside(32, 32, 384, 576), 0u);
}

TEST(Draw, NarrowWindowCopiesOnlyItsOwnColumns) {
    ImageLayer layer;
    Target target(40, 30);
    fillImage(layer, 20, 25);
    layer.setSource(10, 20, 5, 2);
    layer.setPosition(3, 4);
    layer.draw();
    for (int32_t i = 0; i < 2; ++i) {
        const uint8_t* source = layer.image.pixels.get() + (25 - 1 - (20 + i)) * layer.image.rowBytes + 30;
        const std::size_t destination = static_cast<std::size_t>(30 - 1 - (4 + i)) * 120 + 9;
        EXPECT_TRUE(std::equal(source, source + 15, target.bytes.begin() + destination)) << i;
    }
    EXPECT_EQ(target.changedOutside(3, 4, 5, 2), 0u);
}

struct RefusedDraw {
    const char* name;
    int32_t sourceX, sourceY, width, height;  // window
    int32_t x, y;                             // destination
};

// A window or destination that would leave either picture draws nothing at all.
TEST(Draw, RefusesWindowsAndDestinationsOutsideEitherPicture) {
    const RefusedDraw cases[] = {
        {"zero height", 0, 0, 4, 0, 0, 0},           {"zero width", 0, 0, 0, 4, 0, 0},
        {"negative height", 0, 0, 4, -2, 0, 0},      {"window past right edge", 7, 0, 4, 4, 0, 0},
        {"window past bottom", 0, 6, 4, 4, 0, 0},    {"window left of image", -1, 0, 4, 4, 0, 0},
        {"window above image", 0, -1, 4, 4, 0, 0},   {"destination past right", 0, 0, 4, 4, 13, 0},
        {"destination past bottom", 0, 0, 4, 4, 0, 9}, {"destination left", 0, 0, 4, 4, -1, 0},
        {"destination above", 0, 0, 4, 4, 0, -1},    {"huge window", 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0},
        {"huge destination", 0, 0, 4, 4, 0x7FFFFFF0, 0x7FFFFFF0},
    };
    for (const RefusedDraw& c : cases) {
        ImageLayer layer;
        Target target(16, 12);
        fillImage(layer, 10, 9);
        layer.setSource(c.sourceX, c.sourceY, c.width, c.height);
        layer.setPosition(c.x, c.y);
        layer.draw();
        EXPECT_EQ(target.changedBytes(), 0u) << c.name;
    }
}

TEST(Draw, TheSameWindowAtTheEdgesDraws) {
    ImageLayer layer;
    Target target(16, 12);
    fillImage(layer, 10, 9);
    layer.setSource(6, 5, 4, 4);
    layer.setPosition(12, 8);
    layer.draw();
    EXPECT_GT(target.changedBytes(), 0u);
}

TEST(Draw, NothingWithoutPixelsOrTargetOrAfterTheImageChangedSize) {
    ImageLayer empty;
    ImageLayer stale;
    Target target(16, 12);
    empty.setSource(0, 0, 4, 4);
    empty.draw();
    EXPECT_EQ(target.changedBytes(), 0u);

    fillImage(stale, 10, 9);
    stale.setSource(0, 0, 4, 4);
    ASSERT_EQ(stale.image.scale(5, 5), 1);
    stale.draw();  // the window was chosen for the old size
    EXPECT_EQ(target.changedBytes(), 0u);
    stale.setSource(0, 0, 4, 4);
    stale.draw();
    EXPECT_GT(target.changedBytes(), 0u);

    frameTarget = FrameTarget{};
    stale.draw();  // no target: must not crash
}

TEST(Reload, MissingFileLeavesAnEmptyImage) {
    testing::TempFolder folder;
    ImageLayer layer;
    ASSERT_EQ(layer.reload(folder.write("t.bmp", testing::trueColourFile(2, 2, std::vector<testing::Colour>(4))).c_str()), 1);
    EXPECT_TRUE(layer.image.hasPixels());
    EXPECT_EQ(layer.reload(folder.file("absent.bmp").c_str()), 0);
    EXPECT_FALSE(layer.image.hasPixels());
    EXPECT_EQ(layer.image.width(), 0);
}

}  // namespace
}  // namespace qv
