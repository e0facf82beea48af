#include "backgrounds.h"

#include "image/picture_view.h"
#include "value_noise.h"

namespace qv::tools {

namespace {

struct Rgb {
    double red;
    double green;
    double blue;
};

Rgb blend(const Rgb& from, const Rgb& to, double t) {
    return {from.red + (to.red - from.red) * t, from.green + (to.green - from.green) * t,
            from.blue + (to.blue - from.blue) * t};
}

double clampUnit(double value) { return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value); }

uint8_t toByte(double value) {
    const double clamped = value < 0.0 ? 0.0 : (value > 255.0 ? 255.0 : value);
    return static_cast<uint8_t>(clamped + 0.5);
}

// A soft band of light along the line x + y / 2 = centre, fading out over `halfWidth` pixels.
double sheen(double x, double y, double centre, double halfWidth) {
    double distance = x + y / 2.0 - centre;
    distance = distance < 0.0 ? -distance : distance;
    const double t = clampUnit(1.0 - distance / halfWidth);
    return t * t;
}

// Fraction of the way down the picture for row `y` counted from the top.
double depth(int32_t y, int32_t height) { return static_cast<double>(y) / (height - 1); }

constexpr int32_t kDitherSide = 4;
constexpr int32_t kBayer[kDitherSide][kDitherSide] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

TrueColourPicture makeNightGlass() {
    const ValueNoise clouds(0x51A7u);
    const ValueNoise tint(0x7E11u);
    const ValueNoise grain(0x6A41u);
    // Dark indigo at the top sinking to near black at the bottom, where beads pile up thickest.
    const Rgb top{26.0, 20.0, 50.0};
    const Rgb bottom{6.0, 8.0, 20.0};
    const Rgb teal{8.0, 30.0, 40.0};

    TrueColourPicture picture{kBackgroundWidth, kBackgroundHeight, {}};
    picture.bottomUpRows.resize(static_cast<std::size_t>(kBackgroundWidth) * 3 * kBackgroundHeight);
    const qv::PictureView view{picture.bottomUpRows.data(), kBackgroundWidth, kBackgroundHeight, kBackgroundWidth * 3};
    for (int32_t y = 0; y < kBackgroundHeight; ++y) {
        uint8_t* row = view.pixelAt(0, y);
        for (int32_t x = 0; x < kBackgroundWidth; ++x) {
            const Rgb base = blend(top, bottom, depth(y, kBackgroundHeight));
            const Rgb tinted = blend(base, teal, 0.6 * clampUnit(tint.layered(x, y, 96.0, 2) * 1.6 - 0.5));
            const double light = 0.7 + 0.6 * clouds.layered(x, y, 56.0, 4) + 0.25 * sheen(x, y, 150.0, 40.0) +
                                 0.12 * sheen(x, y, 190.0, 10.0);
            const double fleck = (grain.lattice(x, y) - 0.5) * 4.0;
            row[3 * x] = toByte(tinted.blue * light + fleck);
            row[3 * x + 1] = toByte(tinted.green * light + fleck);
            row[3 * x + 2] = toByte(tinted.red * light + fleck);
        }
    }
    return picture;
}

PalettisedPicture makeDeepWater() {
    constexpr int32_t kShades = 64;
    const Rgb darkest{3.0, 8.0, 12.0};
    const Rgb lightest{18.0, 50.0, 58.0};
    const ValueNoise currents(0xD33Bu);

    PalettisedPicture picture{kBackgroundWidth, kBackgroundHeight, {}, {}};
    for (int32_t shade = 0; shade < kShades; ++shade) {
        const Rgb colour = blend(darkest, lightest, static_cast<double>(shade) / (kShades - 1));
        picture.palette.push_back({toByte(colour.blue), toByte(colour.green), toByte(colour.red)});
    }
    picture.bottomUpIndices.resize(static_cast<std::size_t>(kBackgroundWidth) * kBackgroundHeight);
    for (int32_t y = 0; y < kBackgroundHeight; ++y) {
        uint8_t* row =
            picture.bottomUpIndices.data() + static_cast<std::size_t>(kBackgroundHeight - 1 - y) * kBackgroundWidth;
        for (int32_t x = 0; x < kBackgroundWidth; ++x) {
            // Light from above fades with depth; currents stretch sideways.
            const double level =
                0.55 * (1.0 - depth(y, kBackgroundHeight)) + 0.45 * currents.layered(x / 2.0, y, 40.0, 3);
            const double dither = (kBayer[y % kDitherSide][x % kDitherSide] + 0.5) / 16.0;
            const auto shade = static_cast<int32_t>(clampUnit(level) * (kShades - 1) + dither);
            row[x] = static_cast<uint8_t>(shade < kShades ? shade : kShades - 1);
        }
    }
    return picture;
}

}  // namespace qv::tools
