#pragma once

#include <SDL.h>

#include <cstdint>

namespace qv {

// No message: the event means nothing to the application, but it still used up its pass.
inline constexpr uint32_t kNullMessage = 0x0000;

// What one window-system event means to the application.
struct TranslatedEvent {
    uint32_t message = kNullMessage;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    bool endsApplication = false;  // the window was closed or the process was asked to quit
    // The window shows something other than what was last presented (exposed, shown again,
    // resized): the next present must be a whole one.
    bool losesWindowPicture = false;
};

// Mouse positions are window pixels divided by `windowScale` (rounding down): client pixels.
TranslatedEvent translateEvent(const SDL_Event& event, int32_t windowScale = 1);

}  // namespace qv
