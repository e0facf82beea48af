// Which video driver start-up asks for, and what it says when no display can be had.
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
        EXPECT_EQ(videoDriverToAsk(c.names), c.driver)
            << (c.names.requestedDriver ? c.names.requestedDriver : "-") << " "
            << (c.names.display ? c.names.display : "-") << " "
            << (c.names.waylandDisplay ? c.names.waylandDisplay : "-");
    }
}

// The reason names what was tried and says what to do.
TEST(VideoDriverChoice, NoDisplayReasonNamesWhatWasTriedAndWhatToDo) {
    EXPECT_EQ(noDisplayReason({nullptr, nullptr, nullptr}),
              "neither DISPLAY nor WAYLAND_DISPLAY is set; start the game from a desktop session, or set DISPLAY "
              "to the X display to use");
    EXPECT_EQ(noDisplayReason({nullptr, ":5", nullptr}),
              "cannot reach the X display ':5'; check that the desktop session is running and that this user may "
              "use it");
    EXPECT_EQ(noDisplayReason({nullptr, ":5", "wayland-1"}),
              "cannot reach the X display ':5' or the Wayland display 'wayland-1'; check that the desktop session "
              "is running and that this user may use it");
    EXPECT_EQ(noDisplayReason({"nothing", ":5", nullptr}),
              "the video driver 'nothing' that SDL_VIDEODRIVER names cannot show a window; unset SDL_VIDEODRIVER "
              "to let the game choose");
}

}  // namespace
}  // namespace qv
