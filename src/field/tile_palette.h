#pragma once

#include <array>
#include <cstdint>

namespace qv {

// Every cell is drawn as a pre-computed 4 x 4 tile; a tile is stored with one extra row (5 rows of
// 4 pixels of blue, green, red) that is computed but never drawn.
inline constexpr int32_t kHueCount = 128;
inline constexpr int32_t kKindCount = 6;
inline constexpr int32_t kTileRowBytes = 12;
inline constexpr int32_t kTileBytes = 60;

using FieldTiles = std::array<uint8_t, kHueCount * kKindCount * kTileBytes>;

// Seven weights that shape the base lightness of the hues: w0 for all of them, w1 to w6 around the
// six hue centres (blue, cyan, green, yellow, red, magenta).
using HueWeights = std::array<int32_t, 7>;
inline constexpr HueWeights kDefaultHueWeights{10, 20, -20, -10, -30, 10, 10};

// An integer HSL colour: hue in six sectors of 32 (0..191); `extra` is carried through unchanged.
struct HslColour {
    uint8_t saturation = 0;
    uint8_t lightness = 0;
    uint8_t hue = 0;
    uint8_t extra = 0;
};

// The converted colour: c0, c1, c2 are stored as blue, green, red.
struct PixelColour {
    uint8_t c0 = 0;
    uint8_t c1 = 0;
    uint8_t c2 = 0;
    uint8_t extra = 0;
};

// Converts in place into `out`; hues of 192 and above leave out's colour bytes untouched.
void hslToPixel(const HslColour& in, PixelColour& out);

// Fills every tile of `tiles` from the weights.
void buildTiles(FieldTiles& tiles, const HueWeights& weights);

// The first byte of the tile for (hue, kind).
inline constexpr int32_t tileOffset(int32_t hue, int32_t kind) { return (hue * kKindCount + kind) * kTileBytes; }

}  // namespace qv
