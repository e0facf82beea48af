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
// A key press: `key` an SDL key code (a character's code for its key), `modifiers` SDL's KMOD_ bits;
// `repeat` marks the presses a held key sends after the first.
bool postKeyPress(SDL_Window* window, int32_t key = ' ', uint16_t modifiers = 0, bool repeat = false);
bool postWindowExposed(SDL_Window* window);
bool postWindowClose(SDL_Window* window);
// Drops every event already queued, such as those the window system sent when the window appeared.
void discardQueuedEvents();

}  // namespace qv
