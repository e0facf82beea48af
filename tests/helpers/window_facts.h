#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct SDL_Window;

namespace qv {

// What a window looks like from the outside, for tests and tools.
struct WindowFacts {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    bool resizable = false;
    bool shown = false;
    std::string title;
};

WindowFacts inspectWindow(SDL_Window* window);

// The colour (0x00BBGGRR) last presented at client pixel (x, y); none outside the window or when
// the window has no picture.
std::optional<uint32_t> presentedColour(SDL_Window* window, int32_t x, int32_t y);

}  // namespace qv
