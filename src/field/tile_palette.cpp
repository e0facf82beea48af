#include <algorithm>
#include <cstdlib>

#include "field/sand_field.h"
#include "field/tile_palette.h"

namespace qv {

namespace {

// Lightness offsets of the 20 pixels of a bead tile, row by row: a highlight near the top-left
// (255 drives it to near white) and a darker lower right.
constexpr std::array<int16_t, 20> kHighlightPattern{
    64, 8,   16, 48,   //
    8,  255, 0,  -16,  //
    16, 0,   0,  -32,  //
    48, -16, -32, 32,  //
    16, 16,  16, 16,   //
};

constexpr uint8_t kEmptyTileByte = 0xFF;
constexpr uint8_t kWallTileByte = 0x80;
constexpr int32_t kSectorHues = 32;
constexpr int32_t kLastSector = 5;
constexpr int32_t kCentreReach = 22;  // hues this far or further from a centre get nothing from it
constexpr std::array<int32_t, 6> kHueCentres{0, 21, 42, 64, 85, 107};

// Distance on the ring for the first centre (hue 0); the others are measured straight.
int32_t distanceToCentre(int32_t hue, int32_t centre) {
    if (centre == 0) {
        return std::min(hue, kHueCount - hue);
    }
    return std::abs(hue - centre);
}

// Wide arithmetic: weights come from outside and must not overflow; the clamp comes later.
int64_t baseLightness(int32_t hue, const HueWeights& weights) {
    int64_t base = 128 + int64_t{weights[0]};
    for (std::size_t centre = 0; centre < kHueCentres.size(); ++centre) {
        const int32_t distance = distanceToCentre(hue, kHueCentres[centre]);
        if (distance < kCentreReach) {
            base += (kCentreReach - distance) * int64_t{weights[centre + 1]} * 6 / 100;
        }
    }
    return base;
}

// Cell hues 0..127 spread over the conversion's hues 0..190.
uint8_t conversionHue(int32_t hue) { return static_cast<uint8_t>((3 * hue) >> 1); }

void fillTile(FieldTiles& tiles, int32_t hue, int32_t kind, uint8_t value) {
    const auto first = tiles.begin() + tileOffset(hue, kind);
    std::fill(first, first + kTileBytes, value);
}

void fillBeadTile(FieldTiles& tiles, int32_t hue, int32_t kind, int64_t base) {
    const int32_t shade = 8 * (kind - kFirstBead);  // each kind a little lighter and paler
    HslColour colour{static_cast<uint8_t>(255 - shade), 0, conversionHue(hue), 0};
    uint8_t* pixel = tiles.data() + tileOffset(hue, kind);
    for (const int16_t offset : kHighlightPattern) {
        colour.lightness = static_cast<uint8_t>(std::clamp<int64_t>(base + offset + shade, 0, 255));
        PixelColour converted{};
        hslToPixel(colour, converted);
        pixel[0] = converted.c0;
        pixel[1] = converted.c1;
        pixel[2] = converted.c2;
        pixel += 3;
    }
}

}  // namespace

void hslToPixel(const HslColour& in, PixelColour& out) {
    out.extra = in.extra;
    const int32_t s = in.saturation;
    const int32_t l = in.lightness;
    if (s == 0) {
        out.c0 = out.c1 = out.c2 = in.lightness;
        return;
    }
    const int32_t chroma = l < 128 ? (s * 2 * l) >> 8 : (s * (512 - 2 * l)) >> 8;
    const int32_t high = (2 * l + chroma) >> 1;
    const int32_t low = (2 * l - chroma) >> 1;
    const int32_t sector = in.hue / kSectorHues;
    const int32_t ramp = ((in.hue % kSectorHues) * chroma) >> 5;
    if (sector > kLastSector) {
        return;  // no colour for these hues: the colour bytes keep what they held
    }
    const auto byte = [](int32_t value) { return static_cast<uint8_t>(value); };
    switch (sector) {
        case 0: out.c0 = byte(high), out.c1 = byte(low + ramp), out.c2 = byte(low); break;
        case 1: out.c0 = byte(high - ramp), out.c1 = byte(high), out.c2 = byte(low); break;
        case 2: out.c0 = byte(low), out.c1 = byte(high), out.c2 = byte(low + ramp); break;
        case 3: out.c0 = byte(low), out.c1 = byte(high - ramp), out.c2 = byte(high); break;
        case 4: out.c0 = byte(low + ramp), out.c1 = byte(low), out.c2 = byte(high); break;
        default: out.c0 = byte(high), out.c1 = byte(low), out.c2 = byte(high - ramp); break;
    }
}

void buildTiles(FieldTiles& tiles, const HueWeights& weights) {
    for (int32_t hue = 0; hue < kHueCount; ++hue) {
        fillTile(tiles, hue, kEmpty, kEmptyTileByte);
        fillTile(tiles, hue, kWall, kWallTileByte);
        const int64_t base = baseLightness(hue, weights);
        for (int32_t kind = kFirstBead; kind <= kLastBead; ++kind) {
            fillBeadTile(tiles, hue, kind, base);
        }
    }
}

void SandField::buildTiles() { qv::buildTiles(tiles, hueWeights); }

}  // namespace qv
