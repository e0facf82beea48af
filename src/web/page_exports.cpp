// The calls the page makes into the program: the lock is held, a mouse message, a due pass, the
// canvas lost its pixels, how many frames ran, the session's replay, the page goes away.
#include <emscripten.h>

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "app/core_app.h"
#include "web/page_bridge.h"
#include "web/page_game.h"
#include "web/web_shell.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE void qv_web_lock_granted() {
    qv::page::showLine("");
    qv::web::webShell().begin();
}

// `message` is one of the window messages of the mouse, (x, y) the position in client pixels.
EMSCRIPTEN_KEEPALIVE void qv_web_mouse(uint32_t message, int32_t x, int32_t y) {
    qv::web::webShell().postMouse(message, x, y);
}

// Runs the passes that are due; the result is when to call again in milliseconds, or -1 when the
// loop has ended.
EMSCRIPTEN_KEEPALIVE int32_t qv_web_run_passes() {
    const qv::web::WebShell::Outlook outlook = qv::web::webShell().runPasses();
    return outlook.running ? static_cast<int32_t>(outlook.waitMilliseconds) : -1;
}

// The browser dropped the canvas's pixels (and has given it back, blank).
EMSCRIPTEN_KEEPALIVE void qv_web_canvas_lost() { qv::web::webShell().canvasLost(); }

EMSCRIPTEN_KEEPALIVE int32_t qv_web_frames_run() { return qv::web::webShell().framesRun(); }

// The session's replay as a file of it would hold it now, with the end line of the last frame run,
// while the recording goes on; null (with the reason on the console) when there is none. The text
// stays until the next call.
EMSCRIPTEN_KEEPALIVE const char* qv_web_replay_text() {
    static std::string text;
    std::string error;
    std::optional<std::string> replay = qv::web::pageGame().replaySoFar(error);
    if (!replay) {
        std::cerr << error << '\n';
        return nullptr;
    }
    text = std::move(*replay);
    return text.c_str();
}

// The page is closing, as a window is closed: quit code 0, then the shell shuts down.
EMSCRIPTEN_KEEPALIVE void qv_web_close() {
    qv::web::webShell().postQuit(0);
    while (qv_web_run_passes() >= 0) {
    }
}

}
