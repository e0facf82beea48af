// The tile palette and drawing the field with it.
#include <gtest/gtest.h>

#include <cstdio>

#include "field/field_planes.h"
#include "image/frame_target.h"

namespace qv {

// `count` bytes of tile (hue, kind) from byte `from`, in hexadecimal.
static std::string tileHex(const FieldTiles& tiles, int32_t hue, int32_t kind, int32_t from, int32_t count) {
    std::string text(2 * count + 1, '\0');
    for (int32_t i = 0; i < count; ++i) std::snprintf(&text[2 * i], 3, "%02X", tiles[tileOffset(hue, kind) + from + i]);
    return text.substr(0, 2 * count);
}

// Known tiles with the default weights; weights far outside the usual range clamp the lightness
// instead of wrapping around.
TEST(TilePalette, KnownTilesAndClampedLightness) {
    FieldTiles tiles{};
    buildTiles(tiles, kDefaultHueWeights);
    EXPECT_EQ(tileHex(tiles, 0, 2, 0, 60), "FFC6C6FF5656FF6666FFA6A6FF5656FFFEFEFF4646FF2626FF6666FF4646FF4646FF0606"
                                           "FFA6A6FF2626FF0606FF8686FF6666FF6666FF6666FF6666");
    EXPECT_EQ(tileHex(tiles, 64, 2, 0, 12), "46FFFF00D5D500E5E526FFFF");
    EXPECT_EQ(tileHex(tiles, 85, 3, 0, 12), "BDC0FE4F55FC5F64FD9EA1FE");
    EXPECT_EQ(tileHex(tiles, 0, kLastBead, kTileRowBytes, 3), "FA8C8C");  // the cursor: row 1, column 0
    EXPECT_EQ(tileHex(tiles, 64, kLastBead, kTileRowBytes, 3), "12F3F3");
    EXPECT_EQ(tileHex(tiles, 77, kEmpty, 0, 60), std::string(120, 'F'));
    EXPECT_EQ(std::count(&tiles[tileOffset(77, kWall)], &tiles[tileOffset(77, kWall)] + 60, 0x80), 60);
    for (const int32_t weight : {-100000, 100000}) {
        buildTiles(tiles, HueWeights{weight, weight, weight, weight, weight, weight, weight});
        for (int32_t hue = 0; hue < kHueCount; ++hue) {
            const auto first = tiles.begin() + tileOffset(hue, kFirstBead);
            const auto clamped = [&](int byte) { return weight < 0 ? byte == 0 : byte >= 0xFE; };
            EXPECT_TRUE(std::all_of(first, first + 4 * kTileBytes, clamped)) << "weight " << weight << " hue " << hue;
        }
    }
}

// A 96 x 144 field with empty planes at (32, 32) of a 448 x 640 frame target of zero bytes, with a
// tile table where every byte tells its position and none is zero.
class Render : public ::testing::Test {
protected:
    static constexpr int32_t kHeight = 640, kStride = 448 * 3;
    Render() : target(std::size_t{kStride} * kHeight) {
        testing::giveEmptyPlanes(field);
        for (std::size_t i = 0; i < field.tiles.size(); ++i) field.tiles[i] = 1 + (i * 13 + i / 251) % 255;
        frameTarget = FrameTarget{target.data(), kStride, kHeight};  // after the field, whose making empties it
        field.setOrigin(32, 32);
    }
    ~Render() override { frameTarget = FrameTarget{}; }
    void put(int32_t pair, int32_t x, int32_t y, uint8_t hue, uint8_t kind) {
        field.hue[pair][field.gridIndex(x, y)] = hue, field.kind[pair][field.gridIndex(x, y)] = kind;
    }
    // Renders the front pair into a cleared target and counts the pixels painted.
    int32_t renderAndCount() {
        std::fill(target.begin(), target.end(), 0);
        drawn = field.render();
        return static_cast<int32_t>(std::count_if(target.begin(), target.end(), [](int b) { return b != 0; }) / 3);
    }

    SandField field;
    std::vector<uint8_t> target;
    int32_t drawn = -1;
};

// Bytes that are no cell, a field that does not fit its target, or row offsets made for another
// target draw nothing instead of reading or writing outside; the pairs still swap.
TEST_F(Render, DrawsNothingOutsideTheTableOrTheTarget) {
    put(0, 0, 0, 128, 2), put(0, 1, 0, 5, 6), put(0, 2, 0, 5, 1), put(0, 95, 143, 1, 2);  // a wall is drawn
    struct Case { int32_t x, y, targetHeight, painted; };
    for (const Case c : {Case{32, 32, kHeight, 32}, Case{64, 64, kHeight, 32}, Case{65, 32, kHeight, 0},
                         Case{32, 65, kHeight, 0}, Case{-1, 0, kHeight, 0}, Case{0, -1, kHeight, 0},
                         Case{0x7FFFFFF0, 0, kHeight, 0}, Case{32, 32, kHeight - 1, 0}}) {
        field.setOrigin(c.x, c.y);
        frameTarget.height = c.targetHeight;  // changed after setOrigin: the row offsets are stale
        field.front = 0;
        EXPECT_EQ(renderAndCount(), c.painted) << c.x << ", " << c.y << " in " << c.targetHeight << " rows";
        EXPECT_TRUE(drawn == 0 && field.front == 1) << "render names the pair it drew and flips to the other";
    }
}

}  // namespace qv
