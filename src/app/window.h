#pragma once

#include <SDL.h>

#include <string>

#include "app/core_app.h"

namespace qv {

// A window whose client area is exactly `scale` times windowSpec's size, not resizable, titled `title`, with `icon`
// when it holds a picture; with `fullscreen`, it covers the screen until it leaves full screen and
// takes that size. Hidden until shown. Null (with SDL's error set) when it cannot be made.
SDL_Window* createWindow(const WindowSpec& windowSpec, int32_t scale, const std::string& title, const IconImage& icon,
                         bool fullscreen = false);

// The system arrow, made current; null where the video driver has no cursors.
SDL_Cursor* useArrowCursor();

}  // namespace qv
