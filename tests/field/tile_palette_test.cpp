#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "field/sand_field.h"
#include "field/tile_palette.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

class TilePalette : public ::testing::Test {
protected:
    void SetUp() override { buildTiles(tiles, kDefaultHueWeights); }
    Bytes bytes(int32_t hue, int32_t kind, int32_t from, int32_t count) const {
        const auto first = tiles.begin() + tileOffset(hue, kind) + from;
        return {first, first + count};
    }
    FieldTiles tiles{};
};

TEST_F(TilePalette, KnownTilesWithDefaultWeights) {
    EXPECT_EQ(bytes(0, 2, 0, 60),
              (Bytes{0xFF, 0xC6, 0xC6, 0xFF, 0x56, 0x56, 0xFF, 0x66, 0x66, 0xFF, 0xA6, 0xA6,    //
                     0xFF, 0x56, 0x56, 0xFF, 0xFE, 0xFE, 0xFF, 0x46, 0x46, 0xFF, 0x26, 0x26,    //
                     0xFF, 0x66, 0x66, 0xFF, 0x46, 0x46, 0xFF, 0x46, 0x46, 0xFF, 0x06, 0x06,    //
                     0xFF, 0xA6, 0xA6, 0xFF, 0x26, 0x26, 0xFF, 0x06, 0x06, 0xFF, 0x86, 0x86,    //
                     0xFF, 0x66, 0x66, 0xFF, 0x66, 0x66, 0xFF, 0x66, 0x66, 0xFF, 0x66, 0x66}));
    EXPECT_EQ(bytes(64, 2, 0, 12), (Bytes{0x46, 0xFF, 0xFF, 0x00, 0xD5, 0xD5, 0x00, 0xE5, 0xE5, 0x26, 0xFF, 0xFF}));
    EXPECT_EQ(bytes(85, 3, 0, 12), (Bytes{0xBD, 0xC0, 0xFE, 0x4F, 0x55, 0xFC, 0x5F, 0x64, 0xFD, 0x9E, 0xA1, 0xFE}));
    // The cursor colour: row 1, column 0 of kind 5.
    EXPECT_EQ(bytes(0, kLastBead, kTileRowBytes, 3), (Bytes{0xFA, 0x8C, 0x8C}));
    EXPECT_EQ(bytes(64, kLastBead, kTileRowBytes, 3), (Bytes{0x12, 0xF3, 0xF3}));
    EXPECT_EQ(bytes(77, kEmpty, 0, 60), Bytes(60, 0xFF));
    EXPECT_EQ(bytes(77, kWall, 0, 60), Bytes(60, 0x80));
}

TEST(TilePaletteWeights, ExtremeWeightsClampInsteadOfWrapping) {
    FieldTiles tiles{};
    for (const int32_t weight : {-100000, 100000}) {
        buildTiles(tiles, HueWeights{weight, weight, weight, weight, weight, weight, weight});
        const auto beads = [&](uint8_t low, uint8_t high) {
            for (int32_t hue = 0; hue < kHueCount; ++hue) {
                const auto first = tiles.begin() + tileOffset(hue, kFirstBead);
                if (!std::all_of(first, first + 4 * kTileBytes, [&](uint8_t b) { return b >= low && b <= high; }))
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(weight < 0 ? beads(0, 0) : beads(0xFE, 0xFF)) << "weight " << weight;
    }
}

TEST(HslToPixel, ConvertsBySector) {
    struct Case { HslColour in; PixelColour expected; };
    for (const Case c : {Case{{0, 77, 100, 9}, {77, 77, 77, 9}},        // grey whatever the hue
                         Case{{255, 128, 0, 0}, {255, 0, 0, 0}},        // blue
                         Case{{255, 128, 40, 0}, {192, 255, 0, 0}},     // towards cyan
                         Case{{255, 255, 60, 0}, {255, 255, 254, 0}},   // lightness 255: near white
                         Case{{255, 100, 200, 7}, {0x11, 0x22, 0x33, 7}},  // no colour past 191
                         Case{{255, 100, 255, 0}, {0x11, 0x22, 0x33, 0}}}) {
        PixelColour out{0x11, 0x22, 0x33, 0x44};
        hslToPixel(c.in, out);
        EXPECT_EQ((Bytes{out.c0, out.c1, out.c2, out.extra}),
                  (Bytes{c.expected.c0, c.expected.c1, c.expected.c2, c.expected.extra}))
            << "S " << int{c.in.saturation} << " L " << int{c.in.lightness} << " H " << int{c.in.hue};
    }
}

}  // namespace
}  // namespace qv
