#pragma once

#include <SDL.h>

#include "app/back_buffer.h"

namespace qv {

// Copies `picture` unscaled into `surface` at (0, 0), starting at the picture's (srcX, srcY).
// Surface pixels with no picture pixel to copy are left as they are.
void copyToSurface(const BackBuffer& picture, SDL_Surface& surface);

// Copies `picture` into the window and shows it. False when the window has no surface.
bool presentToWindow(const BackBuffer& picture, SDL_Window* window);

}  // namespace qv
