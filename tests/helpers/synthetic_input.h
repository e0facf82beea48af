#pragma once

#include <cstdint>

struct SDL_Window;

namespace qv {

// Input made up by the program itself and queued as if the window system had sent it: for tests
// and tools that drive an application without a person at the mouse. Each call is false when the
// event could not be queued (no video running).
enum class MouseButton { left, middle, right };

bool postMouseMotion(SDL_Window* window, int32_t x, int32_t y);
// `clicks` 2 is what the window system reports for the second press of a quick double click.
bool postMouseButton(SDL_Window* window, MouseButton button, bool pressed, int32_t x, int32_t y, int clicks = 1);
bool postKeyPress(SDL_Window* window);
bool postWindowExposed(SDL_Window* window);
bool postWindowClose(SDL_Window* window);
// Drops every event already queued, such as those the window system sent when the window appeared.
void discardQueuedEvents();

}  // namespace qv
