#include "app/core_app.h"

#include <SDL.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <utility>

#include "app/core_app_platform.h"
#include "app/display_connection.h"
#include "app/desktop_facts.h"
#include "app/messages.h"
#include "app/name_text.h"
#include "app/scale_choice.h"
#include "app/video_driver_choice.h"
#include "app/window.h"

namespace qv {

CoreApp* currentApp = nullptr;

namespace {

// Without X11 or Wayland, SDL falls back to a video driver that shows nothing, and the game would run
// unseen. That fallback is refused unless it was asked for (as the tests do, through SDL_VIDEODRIVER).
bool onlyInvisibleVideo() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* requested = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible = driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    return invisible && (requested == nullptr || *requested == '\0');
}

// What the player can do when the lock is not to be had.
std::string lockAdvice(InstanceLock::Result result) {
    if (result == InstanceLock::Result::heldElsewhere) {
        return "; play in its window, or close it first";
    }
    return "; point XDG_RUNTIME_DIR at a folder of this user's own, closed to others";
}

void chooseVideoDriver(const DisplayNames& names) {
    if (const std::optional<std::string> driver = videoDriverToAsk(names)) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver->c_str());
    }
}

}  // namespace

CoreApp::CoreApp() : clock([] { return static_cast<uint32_t>(SDL_GetTicks()); }) {
    std::strcpy(className.data(), "CORE");
    windowSpec.windowName = title.data();
    windowSpec.className = className.data();
    currentApp = this;
}

CoreApp::~CoreApp() {
    closeWindow();
    releaseBackBuffer();
    if (currentApp == this) {
        currentApp = nullptr;  // never leave the process pointing at a dead application
    }
}

int CoreApp::onMessage(uint32_t /*message*/, uint64_t /*wParam*/, int64_t /*lParam*/) { return 0; }

int CoreApp::run(std::string_view commandLine) {
    int code = 1;
    if (startUp(commandLine)) {
        code = mainLoop();
    } else {
        // The application's own explanation, or the shell's: one line either way.
        std::cerr << startUpError << '\n';
    }
    shutDown();
    return code;
}

// Initialisation comes first, so that the lock is named after the class name it chose; a second
// copy therefore initialises in full before it learns that it must go.
bool CoreApp::startUp(std::string_view commandLine) {
    closeWindow();  // a second start begins from nothing
    if (onStart(commandLine) == 0) {
        return refusedByApplication("the initialisation failed");
    }
    platform_ = std::make_unique<Platform>();
    if (const InstanceLock::Result locked = platform_->lock.acquire(nameText(className));
        locked != InstanceLock::Result::acquired) {
        return failStartUp(platform_->lock.error() + lockAdvice(locked));
    }
    surviveDisplayProtocolErrors();
    const DisplayNames displayNames = displayNamesOfEnvironment();
    chooseVideoDriver(displayNames);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return failStartUp("no display: " + noDisplayReason(displayNames));
    }
    platform_->videoStarted = true;
    endProcessWhenDisplayIsLost(
        lineSaying("the display connection was lost; start the game again once the desktop is back"));
    if (onlyInvisibleVideo()) {
        return failStartUp("no display: " + noDisplayReason(displayNames));
    }
    // A window surface without acceleration is a plain shared-memory copy; under a virtual X
    // server the alternative is software OpenGL, several times the cost.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (onBeforeWindow() == 0) {
        return refusedByApplication("the application stopped before its window opened");
    }
    runState_.replaying = replaying();
    const std::optional<std::string> scaleNotice = chooseWindowScale();
    window = createWindow(windowSpec, windowScale, titleFor(nameText(title), runState_), icon, startFullscreen);
    if (window == nullptr) {
        return failStartUp(std::string("no window: ") + SDL_GetError());
    }
    if (scaleNotice) {
        std::cerr << lineSaying(*scaleNotice) << '\n';
    }
    platform_->cursor = useArrowCursor();
    SDL_ShowWindow(window);
    std::string presentingError;
    platform_->presenter =
        makePresenter(window, windowSpec.clientWidth, windowSpec.clientHeight, presentingPath, presentingError);
    if (!platform_->presenter) {
        return failStartUp("no window: it cannot show pictures (" + presentingError + ")");
    }
    routeMessage({kPaintMessage, 0, 0});  // the window shows a picture before the first frame
    return true;
}

void CoreApp::shutDown() {
    if (platform_) {
        platform_->lock.release();
    }
    onExit();
    closeWindow();
}

void CoreApp::closeWindow() {
    if (platform_) {
        platform_->presenter.reset();  // its renderer goes before the window
    }
    // Everything is taken out of the object before it is released, so that a closing entered again
    // (from an exit during the first) finds nothing left to release twice.
    if (SDL_Window* closing = std::exchange(window, nullptr)) {
        SDL_DestroyWindow(closing);
    }
    if (const std::unique_ptr<Platform> platform = std::move(platform_)) {
        if (platform->cursor != nullptr) {
            SDL_FreeCursor(platform->cursor);
        }
        if (platform->videoStarted) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    postedQuitCode_.reset();
    paintPending_ = false;
    wholePicturePending_ = true;
    runState_ = {};
    frameDueAtOnce_ = false;
}

bool CoreApp::present(const BackBuffer& picture) {
    const bool shown = platform_ && platform_->presenter && platform_->presenter->present(picture);
    wholePicturePending_ = !shown;
    return shown;
}

bool CoreApp::presentRows(const BackBuffer& picture, const std::vector<RowSpan>& rows) {
    if (wholePicturePending_) {
        return present(picture);
    }
    const bool shown = platform_ && platform_->presenter && platform_->presenter->presentRows(picture, rows);
    // The rows are taken from the application either way; a failed present repaints them all.
    wholePicturePending_ = !shown;
    return shown;
}

// The player's scale is used as asked, even when the window comes out larger than the screen;
// what to tell the player then (the window's size and which scale fits) is returned.
std::optional<std::string> CoreApp::chooseWindowScale() {
    const DesktopFacts desktop = readDesktopFacts();
    const int32_t width = windowSpec.clientWidth;
    const int32_t height = windowSpec.clientHeight;
    if (!requestedScale) {
        windowScale = desktopWindowScale(desktop, width, height);
        return std::nullopt;
    }
    windowScale = *requestedScale;
    return oversizeNotice(desktop, width, height, windowScale);
}

bool CoreApp::failStartUp(std::string reason) {
    startUpError = lineSaying("cannot start: " + reason);
    return false;
}

// The application's own explanation stands; one that gave none gets the shell's.
bool CoreApp::refusedByApplication(std::string_view what) {
    return startUpError.empty() ? failStartUp(std::string(what)) : false;
}

std::string CoreApp::displayName() const {
    const std::string name = nameText(title);
    return name.empty() ? nameText(className) : name;
}

}  // namespace qv
