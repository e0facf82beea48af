#include "app/event_translation.h"

#include "app/messages.h"
#include "app/scale_choice.h"

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

TranslatedEvent translateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            return {kPaintMessage, 0, 0, false, true};
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return {kNullMessage, 0, 0, false, true};
        case SDL_WINDOWEVENT_CLOSE:
            return {kDestroyMessage, 0, 0, true};
        default:
            return {};
    }
}

}  // namespace

TranslatedEvent translateEvent(const SDL_Event& event, int32_t windowScale) {
    const auto client = [windowScale](int32_t coordinate) { return unscaledCoordinate(coordinate, windowScale); };
    switch (event.type) {
        case SDL_MOUSEMOTION:
            return {kMouseMoveMessage, mouseKeyState(event.motion.state),
                    packPosition(client(event.motion.x), client(event.motion.y)), false};
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool pressed = event.type == SDL_MOUSEBUTTONDOWN;
            return {buttonMessage(event.button.button, pressed), mouseKeyState(SDL_GetMouseState(nullptr, nullptr)),
                    packPosition(client(event.button.x), client(event.button.y)), false};
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
