#include "game/game_icon.h"

#include <array>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

constexpr int32_t kIconSize = 32;
constexpr double kOuterRadius = 15.5;
constexpr double kInnerRadius = 8.5;

struct Rgb {
    uint8_t red, green, blue;
};

// Clockwise from the top.
constexpr std::array<Rgb, 6> kSegmentColours{{
    {255, 0, 0},    // red
    {255, 255, 0},  // yellow
    {0, 255, 0},    // green
    {0, 255, 255},  // cyan
    {0, 0, 255},    // blue
    {255, 0, 255},  // magenta
}};
constexpr Rgb kWhite{255, 255, 255};

Rgb iconPixel(int32_t column, int32_t row) {
    const double dx = column + 0.5 - kIconSize / 2.0;
    const double dy = row + 0.5 - kIconSize / 2.0;
    const double radius = std::hypot(dx, dy);
    if (radius > kOuterRadius || radius < kInnerRadius) {
        return kWhite;
    }
    // Angle clockwise from straight up, each segment centred on its own direction.
    double angle = std::atan2(dx, -dy);
    if (angle < 0) {
        angle += 2 * std::numbers::pi;
    }
    const double segmentAngle = 2 * std::numbers::pi / kSegmentColours.size();
    const auto segment = static_cast<std::size_t>(std::floor(angle / segmentAngle + 0.5)) % kSegmentColours.size();
    return kSegmentColours[segment];
}

}  // namespace

IconImage makeGameIcon() {
    IconImage icon;
    icon.width = kIconSize;
    icon.height = kIconSize;
    icon.rgba.reserve(kIconSize * kIconSize * 4);
    for (int32_t row = 0; row < kIconSize; ++row) {
        for (int32_t column = 0; column < kIconSize; ++column) {
            const Rgb pixel = iconPixel(column, row);
            icon.rgba.insert(icon.rgba.end(), {pixel.red, pixel.green, pixel.blue, 255});
        }
    }
    return icon;
}

}  // namespace qv
