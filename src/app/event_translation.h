#pragma once

#include <SDL.h>

#include <cstdint>

#include "app/key_commands.h"
#include "app/picture_fit.h"

namespace qv {

// No message: the event means nothing to the application, but it still used up its pass.
inline constexpr uint32_t kNullMessage = 0x0000;

// What one window-system event means to the application, and to the shell.
struct TranslatedEvent {
    uint32_t message = kNullMessage;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    bool endsApplication = false;  // the window was closed or the process was asked to quit
    // The window shows something other than what was last presented (exposed, shown again,
    // resized): the next present must be a whole one.
    bool losesWindowPicture = false;
    ShellCommand command = ShellCommand::none;  // a key the shell answers itself
};

// Mouse positions arrive in client pixels, through `mapping` from the window's position (by
// default the window is the client area).
TranslatedEvent translateEvent(const SDL_Event& event, const PointMapping& mapping = {});

}  // namespace qv
