#include "game/game_icon.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace qv {

namespace {

// The ring's radii as shares of the picture's side.
constexpr double kOuterShare = 15.5 / 32;
constexpr double kInnerShare = 8.5 / 32;
constexpr double kSegmentAngle = 2 * std::numbers::pi / 6;

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

Rgb iconPixel(int32_t size, int32_t column, int32_t row) {
    const double dx = column + 0.5 - size / 2.0;
    const double dy = row + 0.5 - size / 2.0;
    const double radius = std::hypot(dx, dy);
    if (radius > kOuterShare * size || radius < kInnerShare * size) {
        return kWhite;
    }
    // Angle clockwise from straight up, each segment centred on its own direction.
    double angle = std::atan2(dx, -dy);
    if (angle < 0) {
        angle += 2 * std::numbers::pi;
    }
    const auto segment = static_cast<std::size_t>(std::floor(angle / kSegmentAngle + 0.5)) % kSegmentColours.size();
    return kSegmentColours[segment];
}

// A point at `radius` from the centre of a 32-unit picture, `angle` clockwise from straight up.
std::string svgPoint(double radius, double angle) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f %.3f", 16 + radius * std::sin(angle), 16 - radius * std::cos(angle));
    return text;
}

}  // namespace

IconImage makeGameIcon(int32_t size) {
    IconImage icon;
    icon.width = size;
    icon.height = size;
    icon.rgba.reserve(static_cast<std::size_t>(size) * size * 4);
    for (int32_t row = 0; row < size; ++row) {
        for (int32_t column = 0; column < size; ++column) {
            const Rgb pixel = iconPixel(size, column, row);
            icon.rgba.insert(icon.rgba.end(), {pixel.red, pixel.green, pixel.blue, 255});
        }
    }
    return icon;
}

std::string gameIconSvg() {
    const double outer = kOuterShare * 32;
    const double inner = kInnerShare * 32;
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">\n"
        "  <rect width=\"32\" height=\"32\" fill=\"#ffffff\"/>\n";
    for (std::size_t segment = 0; segment < kSegmentColours.size(); ++segment) {
        // Each segment is an annulus sector centred on its direction.
        const double from = (static_cast<double>(segment) - 0.5) * kSegmentAngle;
        const double to = from + kSegmentAngle;
        char radii[64];
        std::snprintf(radii, sizeof radii, "%.3f %.3f", outer, outer);
        char innerRadii[64];
        std::snprintf(innerRadii, sizeof innerRadii, "%.3f %.3f", inner, inner);
        char colour[8];
        const Rgb& rgb = kSegmentColours[segment];
        std::snprintf(colour, sizeof colour, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
        svg += "  <path fill=\"" + std::string(colour) + "\" d=\"M " + svgPoint(outer, from) + " A " + radii +
               " 0 0 1 " + svgPoint(outer, to) + " L " + svgPoint(inner, to) + " A " + innerRadii + " 0 0 0 " +
               svgPoint(inner, from) + " Z\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace qv
