#pragma once

#include <optional>
#include <string>

namespace qv {

// What the environment names for showing a window: each value as the environment has it, null when
// unset.
struct DisplayNames {
    const char* requestedDriver = nullptr;  // SDL_VIDEODRIVER
    const char* display = nullptr;          // DISPLAY
    const char* waylandDisplay = nullptr;   // WAYLAND_DISPLAY
};

DisplayNames displayNamesOfEnvironment();

// The video driver to ask for, or none to let SDL try its own order. Without a Wayland display
// named, only X11 is tried: probing Wayland then only loads a library that writes lines of its own
// on standard error (about XDG_RUNTIME_DIR, say) before it fails.
std::optional<std::string> videoDriverToAsk(const DisplayNames& names);

// Why no window can be shown, and what to do about it, as the rest of a line after "no display: ".
std::string noDisplayReason(const DisplayNames& names);

}  // namespace qv
