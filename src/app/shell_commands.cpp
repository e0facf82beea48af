#include <SDL.h>

#include <iostream>

#include "app/core_app.h"
#include "app/name_text.h"

namespace qv {

void CoreApp::carryOut(ShellCommand command) {
    switch (command) {
        case ShellCommand::toggleFullscreen:
            setFullscreen(!fullscreen());
            break;
        case ShellCommand::leaveFullscreen:
            setFullscreen(false);
            break;
        case ShellCommand::togglePause:
            setPaused(!paused());
            break;
        case ShellCommand::none:
            break;
    }
}

void CoreApp::setPaused(bool paused) {
    if (runState_.paused == paused) {
        return;
    }
    runState_.paused = paused;
    frameDueAtOnce_ = !paused;
    showTitle();
}

// A replay ends with a frame; the title and the mouse follow.
void CoreApp::followReplay() {
    if (runState_.replaying != replaying()) {
        runState_.replaying = !runState_.replaying;
        showTitle();
    }
}

bool CoreApp::fullscreen() const {
    constexpr Uint32 kFullscreen = SDL_WINDOW_FULLSCREEN_DESKTOP;
    return window != nullptr && (SDL_GetWindowFlags(window) & kFullscreen) == kFullscreen;
}

void CoreApp::setFullscreen(bool fullscreen) {
    if (window == nullptr || this->fullscreen() == fullscreen) {
        return;
    }
    if (SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::cerr << lineSaying(std::string("the window cannot ") + (fullscreen ? "fill" : "leave") +
                                " the screen: " + SDL_GetError() + "; the game goes on as it is")
                  << '\n';
    } else if (!fullscreen) {
        // Not every window system gives the window its own size back by itself.
        SDL_SetWindowSize(window, windowSpec.clientWidth * windowScale, windowSpec.clientHeight * windowScale);
    }
    // The window system may resize the window later; that repaints it again.
    wholePicturePending_ = true;
    invalidate();
}

void CoreApp::showTitle() {
    if (window != nullptr) {
        SDL_SetWindowTitle(window, titleFor(nameText(title), runState_).c_str());
    }
}

}  // namespace qv
