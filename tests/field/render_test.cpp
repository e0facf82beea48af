#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "field/field_planes.h"
#include "image/frame_target.h"

namespace qv {
namespace {

constexpr int32_t kTargetWidth = 448;
constexpr int32_t kTargetHeight = 640;
constexpr int32_t kStride = kTargetWidth * 3;
constexpr uint8_t kBackground = 0x11;

// A 96 x 144 field with empty planes and a tile table where every byte tells its own position,
// drawn into a 448 x 640 frame target of background bytes.
class RenderTest : public ::testing::Test {
protected:
    RenderTest() : target(static_cast<std::size_t>(kStride) * kTargetHeight, kBackground) {
        testing::giveEmptyPlanes(field);
        for (std::size_t i = 0; i < field.tiles.size(); ++i) {
            field.tiles[i] = static_cast<uint8_t>(i * 13 + i / 251);
        }
        // After the field: making a Drawable empties the frame target.
        frameTarget = FrameTarget{target.data(), kStride, kTargetHeight};
    }
    ~RenderTest() override { frameTarget = FrameTarget{}; }

    void putBead(int32_t pair, int32_t x, int32_t y, uint8_t hue, uint8_t kind) {
        field.hue[pair][field.gridIndex(x, y)] = hue;
        field.kind[pair][field.gridIndex(x, y)] = kind;
    }
    const uint8_t* pixel(int32_t x, int32_t y) const { return &target[(kTargetHeight - 1 - y) * kStride + 3 * x]; }
    bool isBackground(int32_t x, int32_t y) const {
        return std::all_of(pixel(x, y), pixel(x, y) + 3, [](uint8_t byte) { return byte == kBackground; });
    }
    // Pixels of the whole target that no longer hold the background.
    int32_t paintedPixels() const {
        int32_t painted = 0;
        for (int32_t y = 0; y < kTargetHeight; ++y) {
            for (int32_t x = 0; x < kTargetWidth; ++x) {
                painted += isBackground(x, y) ? 0 : 1;
            }
        }
        return painted;
    }
    // True when the 4 x 4 pixels at (left, top) hold rows 0 to 3 of tile (hue, kind).
    bool holdsTile(int32_t left, int32_t top, int32_t hue, int32_t kind) const {
        const uint8_t* tile = field.tiles.data() + tileOffset(hue, kind);
        for (int32_t r = 0; r < 4; ++r) {
            if (!std::equal(tile + 12 * r, tile + 12 * r + 12, pixel(left, top + r))) {
                return false;
            }
        }
        return true;
    }

    SandField field;
    std::vector<uint8_t> target;
};

TEST_F(RenderTest, OriginGivesTheFourTileRowOffsets) {
    field.setOrigin(32, 32);
    EXPECT_EQ(field.originX(), 32);
    EXPECT_EQ(field.originY(), 32);
    EXPECT_EQ(field.rowOffset, (std::array<int32_t, 4>{815904, 814560, 813216, 811872}));
}

// Cells (0, 0) and (95, 143) mark the field's corners; (10, 20) checks a tile number inside.
TEST_F(RenderTest, BeadsLandOnTheirPixelsWithRowsZeroToThreeOfTheirTile) {
    field.setOrigin(32, 32);
    putBead(0, 0, 0, 7, 2);
    putBead(0, 95, 143, 127, 5);
    putBead(0, 10, 20, 85, 3);
    field.render();
    EXPECT_TRUE(holdsTile(32, 32, 7, 2));
    EXPECT_TRUE(holdsTile(412, 604, 127, 5));
    EXPECT_TRUE(holdsTile(32 + 40, 32 + 80, 85, 3));
    EXPECT_EQ(tileOffset(85, 3), 513 * 60);
    EXPECT_EQ(paintedPixels(), 48);  // the fifth tile row is never drawn
}

TEST_F(RenderTest, EmptyFieldDrawsNothingAndStillFlips) {
    field.setOrigin(32, 32);
    EXPECT_EQ(field.render(), 0);
    EXPECT_EQ(field.front, 1);
    EXPECT_EQ(paintedPixels(), 0);
}

TEST_F(RenderTest, ConsecutiveRendersDrawBothPairsAndComeBack) {
    field.setOrigin(32, 32);
    putBead(0, 1, 1, 3, 2);
    putBead(1, 2, 2, 4, 4);
    EXPECT_EQ(field.render(), 0);
    EXPECT_TRUE(holdsTile(36, 36, 3, 2));
    EXPECT_TRUE(isBackground(40, 40));
    std::fill(target.begin(), target.end(), kBackground);
    EXPECT_EQ(field.render(), 1);
    EXPECT_TRUE(holdsTile(40, 40, 4, 4));
    EXPECT_TRUE(isBackground(36, 36));
    EXPECT_EQ(field.front, 0);
}

TEST_F(RenderTest, FullFieldCoversExactlyItsRectangle) {
    field.setOrigin(32, 32);
    std::fill_n(field.kind[0].get(), field.cellCount, kFirstBead);  // the border is never drawn
    field.render();
    EXPECT_EQ(paintedPixels(), 384 * 576);
    EXPECT_TRUE(isBackground(31, 32) && isBackground(416, 607) && isBackground(415, 608));
}

// A field that does not fit its target, or cells that hold no valid hue or kind, draw nothing
// instead of writing outside the picture; the pairs still swap.
TEST_F(RenderTest, RefusesToDrawOutsideTheTarget) {
    putBead(0, 95, 143, 1, 2);
    putBead(0, 0, 0, 1, 2);
    for (auto [x, y] : {std::pair{65, 32}, {32, 65}, {-1, 0}, {0, -1}, {0x7FFFFFF0, 0}}) {
        field.setOrigin(x, y);
        field.front = 0;
        field.render();
        EXPECT_EQ(field.front, 1);
        EXPECT_EQ(paintedPixels(), 0) << x << "," << y;
    }
    field.setOrigin(32, 32);
    frameTarget.height = 639;  // the target changed after setOrigin: the row offsets are stale
    field.front = 0;
    field.render();
    EXPECT_EQ(paintedPixels(), 0);
    frameTarget.height = kTargetHeight;
    field.setOrigin(64, 64);  // the last place the field fits
    field.front = 0;
    field.render();
    EXPECT_EQ(paintedPixels(), 32);
}

TEST_F(RenderTest, CellsWithImpossibleBytesAreSkipped) {
    field.setOrigin(32, 32);
    putBead(0, 0, 0, 128, 2);
    putBead(0, 1, 0, 5, 6);
    putBead(0, 2, 0, 5, 1);  // a wall inside the field is drawn like any cell
    field.render();
    EXPECT_TRUE(isBackground(32, 32));
    EXPECT_TRUE(isBackground(36, 32));
    EXPECT_TRUE(holdsTile(40, 32, 5, 1));
}

}  // namespace
}  // namespace qv
