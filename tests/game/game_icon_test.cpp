#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <set>

#include "game/game_icon.h"

namespace qv {
namespace {

using Rgb = std::array<uint8_t, 3>;

Rgb pixelAt(const IconImage& icon, int32_t x, int32_t y) {
    const std::size_t at = (static_cast<std::size_t>(y) * icon.width + x) * 4;
    return {icon.rgba[at], icon.rgba[at + 1], icon.rgba[at + 2]};
}

TEST(GameIcon, EverySizeIsARingOfSixHuesOnWhiteDrawnCrisply) {
    constexpr std::array<Rgb, 6> clockwiseFromTop{{
        {255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 0, 255}, {255, 0, 255}}};
    constexpr Rgb white{255, 255, 255};
    for (const int32_t size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const IconImage icon = makeGameIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        ASSERT_EQ(icon.rgba.size(), static_cast<std::size_t>(size) * size * 4);

        // The middle of the ring in each segment's own direction.
        const double middle = size * 12.0 / 32;
        for (std::size_t segment = 0; segment < clockwiseFromTop.size(); ++segment) {
            const double angle = static_cast<double>(segment) * std::numbers::pi / 3;
            const auto x = static_cast<int32_t>(std::floor(size / 2.0 + middle * std::sin(angle)));
            const auto y = static_cast<int32_t>(std::floor(size / 2.0 - middle * std::cos(angle)));
            EXPECT_EQ(pixelAt(icon, x, y), clockwiseFromTop[segment]) << "segment " << segment;
        }
        EXPECT_EQ(pixelAt(icon, size / 2, size / 2), white) << "the hole";
        EXPECT_EQ(pixelAt(icon, 0, 0), white) << "a corner";

        // Hard edges: no blended colour anywhere, every pixel opaque.
        std::set<Rgb> colours;
        for (std::size_t at = 0; at < icon.rgba.size(); at += 4) {
            colours.insert({icon.rgba[at], icon.rgba[at + 1], icon.rgba[at + 2]});
            ASSERT_EQ(icon.rgba[at + 3], 255);
        }
        EXPECT_EQ(colours.size(), 7u);
    }
}

}  // namespace
}  // namespace qv
