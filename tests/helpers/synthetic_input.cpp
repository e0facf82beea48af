#include "helpers/synthetic_input.h"

#include <SDL.h>

namespace qv {

namespace {

Uint32 idOf(SDL_Window* window) { return window != nullptr ? SDL_GetWindowID(window) : 0; }

bool post(SDL_Event& event) { return SDL_PushEvent(&event) == 1; }

Uint8 sdlButton(MouseButton button) {
    switch (button) {
        case MouseButton::left:
            return SDL_BUTTON_LEFT;
        case MouseButton::middle:
            return SDL_BUTTON_MIDDLE;
        case MouseButton::right:
            return SDL_BUTTON_RIGHT;
    }
    return SDL_BUTTON_LEFT;
}

bool postWindowEvent(SDL_Window* window, SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = idOf(window);
    event.window.event = static_cast<Uint8>(id);
    return post(event);
}

}  // namespace

bool postMouseMotion(SDL_Window* window, int32_t x, int32_t y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = idOf(window);
    event.motion.x = x;
    event.motion.y = y;
    return post(event);
}

bool postMouseButton(SDL_Window* window, MouseButton button, bool pressed, int32_t x, int32_t y, int clicks) {
    SDL_Event event{};
    event.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = idOf(window);
    event.button.button = sdlButton(button);
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = static_cast<Uint8>(clicks < 0 ? 0 : clicks > 255 ? 255 : clicks);
    event.button.x = x;
    event.button.y = y;
    return post(event);
}

bool postKeyPress(SDL_Window* window, int32_t key, uint16_t modifiers, bool repeat) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = idOf(window);
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = modifiers;
    return post(event);
}

bool postWindowExposed(SDL_Window* window) { return postWindowEvent(window, SDL_WINDOWEVENT_EXPOSED); }

bool postWindowClose(SDL_Window* window) { return postWindowEvent(window, SDL_WINDOWEVENT_CLOSE); }

void discardQueuedEvents() {
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
}

}  // namespace qv
