// Which video driver start-up asks for.
#include <gtest/gtest.h>

#include "app/video_driver_choice.h"

namespace qv {
namespace {

// Wayland is probed only when a Wayland display is named (its library speaks up on its own when
// no session is there); a driver the player names is left to SDL.
TEST(VideoDriverChoice, WaylandOnlyWhenADisplayNamesIt) {
    const struct {
        DisplayNames names;
        std::optional<std::string> driver;
    } cases[] = {
        {{nullptr, ":0", nullptr}, "x11"},
        {{nullptr, nullptr, nullptr}, "x11"},
        {{"", ":0", ""}, "x11"},
        {{nullptr, ":0", "wayland-0"}, std::nullopt},
        {{nullptr, nullptr, "wayland-0"}, std::nullopt},
        {{"wayland", nullptr, nullptr}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(videoDriverToAsk(c.names), c.driver) << "case " << &c - cases;
    }
}

}  // namespace
}  // namespace qv
