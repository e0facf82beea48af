// CoreApp's operations that depend on the window system, for the browser: the page is the window,
// the canvas its client area, a Web Lock the single-copy rule, and the page drives the main loop.
#include <emscripten.h>

#include <cstring>
#include <vector>

#include "app/boxes.h"
#include "app/core_app.h"
#include "app/font.h"
#include "web/page_bridge.h"
#include "web/start_up_line.h"
#include "web/web_shell.h"

namespace qv {

CoreApp* currentApp = nullptr;

// The desktop keeps its window system's resources here; the page keeps them in page.js.
struct CoreApp::Platform {};

namespace {

constexpr uint32_t kBareCanvasColour = 0xFFFFFF;

// Turns the bottom-up blue-green-red picture into the top-down red-green-blue-alpha rows that a
// canvas takes, starting at the picture's (srcX, srcY); canvas pixels with no picture pixel stay black.
const std::vector<uint8_t>& canvasPixels(const BackBuffer& picture, int32_t width, int32_t height) {
    static std::vector<uint8_t> rgba;
    rgba.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t sourceY = y + picture.srcY;
        uint8_t* out = rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
        for (int32_t x = 0; x < width; ++x, out += 4) {
            const int32_t sourceX = x + picture.srcX;
            out[3] = 255;
            if (sourceX < 0 || sourceY < 0 || sourceX >= picture.width || sourceY >= picture.height) {
                continue;
            }
            const uint8_t* pixel = picture.pixelAt(sourceX, sourceY);
            out[0] = pixel[2];
            out[1] = pixel[1];
            out[2] = pixel[0];
        }
    }
    return rgba;
}

void presentToCanvas(const BackBuffer& picture, const WindowSpec& window) {
    const std::vector<uint8_t>& rgba = canvasPixels(picture, window.clientWidth, window.clientHeight);
    page::presentPicture(rgba.data(), window.clientWidth, window.clientHeight);
}

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

int CoreApp::onPaint() {
    if (backBuffer.exists()) {
        DrawContext context(backBuffer);
        onDraw(context);
        presentToCanvas(backBuffer, windowSpec);
        return 1;
    }
    // No back buffer: the overlay is drawn on a picture of the bare canvas.
    BackBuffer bare;
    if (bare.createBackBuffer(windowSpec.clientWidth, windowSpec.clientHeight, 0) != 0) {
        fillBox(bare, 0, 0, bare.width, bare.height, kBareCanvasColour);
    }
    DrawContext context(bare);
    onDraw(context);
    presentToCanvas(bare, windowSpec);
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
