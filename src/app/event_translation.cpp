#include "app/event_translation.h"

#include "app/messages.h"

namespace qv {

namespace {

// The key and button state that travels with a mouse message. Nothing in the game reads it, but
// it keeps the message complete.
uint64_t mouseKeyState(uint32_t sdlButtons) {
    constexpr uint64_t kLeft = 0x0001;
    constexpr uint64_t kRight = 0x0002;
    constexpr uint64_t kMiddle = 0x0010;
    uint64_t state = 0;
    if (sdlButtons & SDL_BUTTON_LMASK) state |= kLeft;
    if (sdlButtons & SDL_BUTTON_RMASK) state |= kRight;
    if (sdlButtons & SDL_BUTTON_MMASK) state |= kMiddle;
    return state;
}

// Double clicks are never reported as such: a quick second click is a second button-down.
uint32_t buttonMessage(uint8_t button, bool pressed) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return pressed ? kLeftButtonDownMessage : kLeftButtonUpMessage;
        case SDL_BUTTON_RIGHT:
            return pressed ? kRightButtonDownMessage : kRightButtonUpMessage;
        default:
            return kNullMessage;
    }
}

// A window that lost its picture is painted at once: a paused game runs no frame that would.
TranslatedEvent translateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return {kPaintMessage, 0, 0, false, true};
        case SDL_WINDOWEVENT_CLOSE:
            return {kDestroyMessage, 0, 0, true};
        default:
            return {};
    }
}

}  // namespace

TranslatedEvent translateEvent(const SDL_Event& event, const PointMapping& mapping) {
    const auto client = [&mapping](int32_t x, int32_t y) {
        const ClientPoint point = clientPointOf(mapping, x, y);
        return packPosition(point.x, point.y);
    };
    switch (event.type) {
        case SDL_MOUSEMOTION:
            return {kMouseMoveMessage, mouseKeyState(event.motion.state), client(event.motion.x, event.motion.y)};
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool pressed = event.type == SDL_MOUSEBUTTONDOWN;
            return {buttonMessage(event.button.button, pressed), mouseKeyState(SDL_GetMouseState(nullptr, nullptr)),
                    client(event.button.x, event.button.y)};
        }
        case SDL_KEYDOWN: {
            TranslatedEvent key;
            // A held key repeats; only the press itself counts, so that holding P does not flicker.
            if (event.key.repeat == 0) {
                key.command = commandForKey(event.key.keysym.sym, event.key.keysym.mod);
            }
            return key;
        }
        case SDL_WINDOWEVENT:
            return translateWindowEvent(event.window);
        case SDL_QUIT:
            return {kNullMessage, 0, 0, true};
        default:
            return {};
    }
}

}  // namespace qv
