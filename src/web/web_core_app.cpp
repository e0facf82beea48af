// CoreApp's operations that depend on the window system, for the browser: the page is the window,
// the canvas its client area, a Web Lock the single-copy rule, and the page drives the main loop.
#include <emscripten.h>

#include <cstring>

#include "app/boxes.h"
#include "app/core_app.h"
#include "app/font.h"
#include "web/page_bridge.h"
#include "web/start_up_line.h"
#include "web/web_shell.h"

namespace qv {

CoreApp* currentApp = nullptr;

// The desktop keeps its window system's resources here; the page keeps them in its scripts.
struct CoreApp::Platform {};

namespace {

constexpr uint32_t kBareCanvasColour = 0xFFFFFF;

}  // namespace

CoreApp::CoreApp() : clock([] { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }) {
    std::strcpy(className.data(), "CORE");
    windowSpec.windowName = title.data();
    windowSpec.className = className.data();
    currentApp = this;
}

CoreApp::~CoreApp() {
    releaseBackBuffer();
    if (currentApp == this) {
        currentApp = nullptr;
    }
}

int CoreApp::onMessage(uint32_t /*message*/, uint64_t /*wParam*/, int64_t /*lParam*/) { return 0; }

// Start-up runs here; the page then holds the loop, so the exit code only tells a failed start.
int CoreApp::run(std::string_view commandLine) {
    if (startUp(commandLine)) {
        return 0;
    }
    page::showLine(web::pageStartUpLine(startUpError));
    shutDown();
    return 1;
}

// Initialisation first, so that the lock is named after the class name it chose; the canvas
// appears once the page holds the lock (web::WebShell::begin).
bool CoreApp::startUp(std::string_view commandLine) {
    if (onStart(commandLine) == 0) {
        if (startUpError.empty()) {
            failStartUp("the initialisation failed");
        }
        return false;
    }
    web::webShell().attach(*this);
    page::requestLock(web::nameText(className));
    return true;
}

void CoreApp::shutDown() {
    page::releaseLock();
    onExit();
}

void CoreApp::invalidate() { web::webShell().requestPaint(); }

// The overlay goes into the back buffer over whatever the last frame left there; then the rows
// written since the last paint are put on the canvas, which keeps the others as they were shown.
int CoreApp::onPaint() {
    if (backBuffer.exists()) {
        DrawContext context(backBuffer);
        onDraw(context);
        web::webShell().presentRows(backBuffer, takeWrittenRows());
        return 1;
    }
    // No back buffer: the overlay is drawn on a picture of the bare canvas.
    BackBuffer bare;
    if (bare.createBackBuffer(windowSpec.clientWidth, windowSpec.clientHeight, 0) != 0) {
        fillBox(bare, 0, 0, bare.width, bare.height, kBareCanvasColour);
    }
    DrawContext context(bare);
    onDraw(context);
    web::webShell().presentWhole(bare);
    return 1;
}

bool CoreApp::failStartUp(std::string reason) {
    startUpError = displayName() + ": cannot start: " + reason;
    return false;
}

std::string CoreApp::displayName() const {
    const std::string name = web::nameText(title);
    return name.empty() ? web::nameText(className) : name;
}

}  // namespace qv
