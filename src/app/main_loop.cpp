#include <SDL.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "app/core_app.h"
#include "app/core_app_platform.h"
#include "app/event_translation.h"
#include "app/messages.h"

namespace qv {

namespace {

// How long a paused pass waits for input before it idles again.
constexpr uint32_t kPausedWaitMilliseconds = 250;

}  // namespace

// One message per pass, then the frame test: a frame when at least frameInterval milliseconds
// have passed since the previous frame started (no catch-up: the next one counts from this one),
// onIdle otherwise. While paused no frame is due; the first pass after resuming runs one. A pass
// that found nothing to do waits for input or the frame's due time.
int CoreApp::mainLoop() {
    uint32_t lastFrame = clock();
    while (true) {
        const std::optional<Message> message = takeMessage();
        const bool quitting = message && message->id == kQuitMessage;
        if (message && !quitting) {
            routeMessage(*message);
        }

        bool frameRan = false;
        uint32_t untilDue = runState_.paused ? kPausedWaitMilliseconds : 0;
        if (frameInterval == 0 || runState_.paused) {
            if (onIdle() == 0) postQuit(0);
        } else {
            const uint32_t now = clock();
            const uint32_t elapsed = now - lastFrame;  // unsigned: right across the counter's wrap
            const bool resumed = std::exchange(frameDueAtOnce_, false);
            if (resumed || elapsed >= frameInterval) {
                lastFrame = now;
                frameRan = true;
                if (onFrame() == 0) postQuit(0);
                followReplay();
            } else {
                untilDue = frameInterval - elapsed;
                if (onIdle() == 0) postQuit(0);
            }
        }

        if (quitting) {
            return static_cast<int>(message->wParam);
        }
        if (!message && !frameRan && untilDue != 0) {
            waitForMessage(untilDue);
        }
    }
}

void CoreApp::invalidate() { paintPending_ = true; }

void CoreApp::postQuit(int code) {
    if (!postedQuitCode_) {
        postedQuitCode_ = code;
    }
}

// Input first; the quit and the paint only when no input waits, as a window system ranks them.
std::optional<CoreApp::Message> CoreApp::takeMessage() {
    SDL_Event event;
    bool haveEvent = false;
    if (platform_ && platform_->heldEvent) {
        event = *platform_->heldEvent;
        platform_->heldEvent.reset();
        haveEvent = true;
    } else if (platform_ && platform_->videoStarted) {
        haveEvent = SDL_PollEvent(&event) == 1;
    }
    if (haveEvent) {
        const TranslatedEvent translated = translateEvent(event, pointMapping());
        if (translated.endsApplication) {
            postQuit(0);
        }
        if (translated.losesWindowPicture) {
            wholePicturePending_ = true;
        }
        carryOut(translated.command);
        return Message{translated.message, translated.wParam, translated.lParam};
    }
    if (postedQuitCode_) {
        const auto code = static_cast<uint64_t>(*postedQuitCode_);
        postedQuitCode_.reset();
        return Message{kQuitMessage, code, 0};
    }
    if (paintPending_) {
        return Message{kPaintMessage, 0, 0};
    }
    return std::nullopt;
}

// The one gate for the mouse: what holds the game (a pause) keeps the player's mouse from it.
void CoreApp::routeMessage(const Message& message) {
    if (message.id == kPaintMessage) {
        paintPending_ = false;  // one paint covers the whole window
    }
    if (isMouseMessage(message.id) && !mouseReachesApplication(runState_)) {
        return;
    }
    if (message.id != kNullMessage) {
        onMessage(message.id, message.wParam, message.lParam);
    }
}

PointMapping CoreApp::pointMapping() const {
    PointMapping mapping;
    mapping.fit.scale = windowScale;
    if (window == nullptr || !platform_ || !platform_->presenter) {
        return mapping;
    }
    SDL_GetWindowSize(window, &mapping.windowWidth, &mapping.windowHeight);
    const PixelSize output = platform_->presenter->outputSize();
    mapping.outputWidth = output.width;
    mapping.outputHeight = output.height;
    mapping.fit = fitPicture(output.width, output.height, windowSpec.clientWidth, windowSpec.clientHeight);
    return mapping;
}

bool CoreApp::hasPendingMessage() const {
    return postedQuitCode_.has_value() || paintPending_ || (platform_ && platform_->heldEvent);
}

void CoreApp::waitForMessage(uint32_t milliseconds) {
    if (hasPendingMessage() || !platform_ || !platform_->videoStarted) {
        return;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(std::min<uint32_t>(milliseconds, INT_MAX))) == 1) {
        platform_->heldEvent = event;
    }
}

}  // namespace qv
