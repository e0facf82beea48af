#include "app/video_driver_choice.h"

#include <cstdlib>

namespace qv {

namespace {

bool named(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

DisplayNames displayNamesOfEnvironment() {
    return {std::getenv("SDL_VIDEODRIVER"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")};
}

std::optional<std::string> videoDriverToAsk(const DisplayNames& names) {
    if (named(names.requestedDriver) || named(names.waylandDisplay)) {
        return std::nullopt;
    }
    return std::string("x11");
}

std::string noDisplayReason(const DisplayNames& names) {
    if (named(names.requestedDriver)) {
        return "the video driver '" + std::string(names.requestedDriver) +
               "' that SDL_VIDEODRIVER names cannot show a window; unset SDL_VIDEODRIVER to let the game choose";
    }
    std::string tried;
    if (named(names.display)) {
        tried = "the X display '" + std::string(names.display) + "'";
    }
    if (named(names.waylandDisplay)) {
        tried += (tried.empty() ? "" : " or ") + std::string("the Wayland display '") + names.waylandDisplay + "'";
    }
    if (tried.empty()) {
        return "neither DISPLAY nor WAYLAND_DISPLAY is set; start the game from a desktop session, or set "
               "DISPLAY to the X display to use";
    }
    return "cannot reach " + tried + "; check that the desktop session is running and that this user may use it";
}

}  // namespace qv
