#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "field/sand_field.h"
#include "field/tile_palette.h"

namespace qv {
namespace {

class TilePalette : public ::testing::Test {
protected:
    void SetUp() override { buildTiles(tiles, kDefaultHueWeights); }
    std::vector<uint8_t> row(int32_t hue, int32_t kind, int32_t r) const {
        const auto first = tiles.begin() + tileOffset(hue, kind) + r * kTileRowBytes;
        return {first, first + kTileRowBytes};
    }
    FieldTiles tiles{};
};

TEST_F(TilePalette, BlueBeadTileWithDefaultWeights) {
    const std::vector<std::vector<uint8_t>> expected{
        {0xFF, 0xC6, 0xC6, 0xFF, 0x56, 0x56, 0xFF, 0x66, 0x66, 0xFF, 0xA6, 0xA6},
        {0xFF, 0x56, 0x56, 0xFF, 0xFE, 0xFE, 0xFF, 0x46, 0x46, 0xFF, 0x26, 0x26},
        {0xFF, 0x66, 0x66, 0xFF, 0x46, 0x46, 0xFF, 0x46, 0x46, 0xFF, 0x06, 0x06},
        {0xFF, 0xA6, 0xA6, 0xFF, 0x26, 0x26, 0xFF, 0x06, 0x06, 0xFF, 0x86, 0x86},
        {0xFF, 0x66, 0x66, 0xFF, 0x66, 0x66, 0xFF, 0x66, 0x66, 0xFF, 0x66, 0x66},
    };
    for (int32_t r = 0; r < 5; ++r) {
        EXPECT_EQ(row(0, 2, r), expected[r]) << "row " << r;
    }
}

TEST_F(TilePalette, FirstRowsOfYellowAndRedTiles) {
    EXPECT_EQ(row(64, 2, 0),
              (std::vector<uint8_t>{0x46, 0xFF, 0xFF, 0x00, 0xD5, 0xD5, 0x00, 0xE5, 0xE5, 0x26, 0xFF, 0xFF}));
    EXPECT_EQ(row(85, 3, 0),
              (std::vector<uint8_t>{0xBD, 0xC0, 0xFE, 0x4F, 0x55, 0xFC, 0x5F, 0x64, 0xFD, 0x9E, 0xA1, 0xFE}));
}

TEST_F(TilePalette, CursorColoursAreRowOneColumnZeroOfKindFive) {
    const auto cursor = [&](int32_t hue) {
        const auto first = tiles.begin() + tileOffset(hue, kLastBead) + kTileRowBytes;
        return std::vector<uint8_t>(first, first + 3);
    };
    EXPECT_EQ(cursor(0), (std::vector<uint8_t>{0xFA, 0x8C, 0x8C}));
    EXPECT_EQ(cursor(64), (std::vector<uint8_t>{0x12, 0xF3, 0xF3}));
}

TEST_F(TilePalette, EmptyAndWallTilesAreFlat) {
    for (const int32_t hue : {0, 77, 127}) {
        const auto empty = tiles.begin() + tileOffset(hue, 0);
        const auto wall = tiles.begin() + tileOffset(hue, 1);
        EXPECT_TRUE(std::all_of(empty, empty + kTileBytes, [](uint8_t b) { return b == 0xFF; }));
        EXPECT_TRUE(std::all_of(wall, wall + kTileBytes, [](uint8_t b) { return b == 0x80; }));
    }
}

// The highlight pixel (row 1, column 1) of kind 2 pins the base lightness only through clamping;
// row 0, column 1 (offset +8) shows it: a saturated colour there has lightness Base + 8.
TEST_F(TilePalette, BaseLightnessFollowsTheWeights) {
    struct Expected {
        int32_t hue;
        int32_t base;
    };
    for (const Expected e : {Expected{0, 163}, Expected{21, 113}, Expected{22, 112}, Expected{42, 124},
                             Expected{43, 125}, Expected{64, 99}, Expected{85, 150}, Expected{107, 152},
                             Expected{127, 164}}) {
        HslColour colour{255, static_cast<uint8_t>(e.base + 8), static_cast<uint8_t>((3 * e.hue) >> 1), 0};
        PixelColour pixel{};
        hslToPixel(colour, pixel);
        const auto first = tiles.begin() + tileOffset(e.hue, 2) + 3;
        EXPECT_EQ((std::vector<uint8_t>(first, first + 3)), (std::vector<uint8_t>{pixel.c0, pixel.c1, pixel.c2}))
            << "hue " << e.hue;
    }
}

TEST(TilePaletteWeights, ExtremeWeightsClampLightnessInsteadOfWrapping) {
    FieldTiles tiles{};
    for (const int32_t weight : {-100000, 100000}) {
        buildTiles(tiles, HueWeights{weight, weight, weight, weight, weight, weight, weight});
        const uint8_t expected = weight < 0 ? 0x00 : 0xFF;
        for (int32_t hue = 0; hue < kHueCount; ++hue) {
            const auto first = tiles.begin() + tileOffset(hue, 2);
            const bool uniform = std::all_of(first, first + kTileBytes, [&](uint8_t b) {
                return weight < 0 ? b == expected : b >= 0xFE;
            });
            EXPECT_TRUE(uniform) << "weight " << weight << " hue " << hue;
        }
    }
}

struct ConversionCase {
    HslColour in;
    PixelColour expected;
};

std::ostream& operator<<(std::ostream& out, const ConversionCase& c) {
    return out << "S " << int{c.in.saturation} << " L " << int{c.in.lightness} << " H " << int{c.in.hue};
}

class HslConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(HslConversion, GivesTheExpectedBytes) {
    const ConversionCase c = GetParam();
    PixelColour out{0x11, 0x22, 0x33, 0x44};
    hslToPixel(c.in, out);
    EXPECT_EQ(out.c0, c.expected.c0);
    EXPECT_EQ(out.c1, c.expected.c1);
    EXPECT_EQ(out.c2, c.expected.c2);
    EXPECT_EQ(out.extra, c.in.extra);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HslConversion,
    ::testing::Values(ConversionCase{{0, 77, 100, 9}, {77, 77, 77, 9}},          // grey whatever the hue
                      ConversionCase{{255, 128, 0, 0}, {255, 0, 0, 0}},          // pure blue
                      ConversionCase{{255, 128, 40, 0}, {192, 255, 0, 0}},       // towards cyan
                      ConversionCase{{255, 255, 60, 0}, {255, 255, 254, 0}},     // near white
                      ConversionCase{{255, 100, 200, 7}, {0x11, 0x22, 0x33, 7}}, // no colour past 191
                      ConversionCase{{255, 100, 255, 0}, {0x11, 0x22, 0x33, 0}}));

TEST(TilePaletteBuild, BuildingTwiceGivesTheSameBytes) {
    FieldTiles first{};
    FieldTiles second{};
    second.fill(0xAB);
    buildTiles(first, kDefaultHueWeights);
    buildTiles(second, kDefaultHueWeights);
    EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace qv
