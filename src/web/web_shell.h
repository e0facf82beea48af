#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/changed_rows.h"
#include "app/run_state.h"
#include "replay/input_script.h"
#include "web/canvas_picture.h"

namespace qv {
class BackBuffer;
class CoreApp;
}

namespace qv::web {

// The main loop of the browser edition. A page cannot loop forever, so the page calls runPasses
// whenever a pass is due, and each pass is the desktop loop's: one message (input first, then the
// quit, then the paint), then the frame test, a frame when at least frameInterval milliseconds have
// passed since the previous frame began (no catch-up), onIdle otherwise.
class WebShell {
public:
    // Whether the loop goes on after runPasses, and when the page should call it again.
    struct Outlook {
        bool running = true;
        uint32_t waitMilliseconds = 0;
    };

    // The application the loop serves, once its start-up has run.
    void attach(CoreApp& app) { app_ = &app; }
    CoreApp* app() const { return app_; }

    // The single-copy lock is held: the application takes over what only the running copy may (its
    // recording), the canvas appears, is painted once, and the loop starts.
    void begin();
    // A mouse message from the canvas, in client pixels. Ignored while a script plays, and on its
    // way to the application while a replay plays it.
    void postMouse(uint32_t message, int32_t x, int32_t y);
    void requestPaint() { paintPending_ = true; }
    // Puts on the canvas the rows of `picture` written since the last paint (picture rows, top
    // first), or the whole picture.
    void presentRows(const BackBuffer& picture, const std::vector<RowSpan>& written);
    void presentWhole(const BackBuffer& picture);
    // The browser dropped the canvas's pixels: the next paint, asked for at once, puts every row.
    void canvasLost();
    void postQuit(int code);
    // Runs passes until one finds nothing to do (or a bounded number of them, so that the page stays
    // responsive) and says when to come back.
    Outlook runPasses();

    // Plays `events` instead of the player's mouse: each event reaches the game as a window message
    // just before the frame it names, and the loop stops after `frames` frames.
    void playScript(std::vector<replay::ScriptEvent> events, int32_t frames);
    // The loop stops once `frames` frames have run and the last of them is painted, and tells the page.
    void stopAfter(int32_t frames) { sessionFrames_ = frames; }

    // How many frames have run since the loop began.
    int32_t framesRun() const { return framesRun_; }

private:
    struct Message {
        uint32_t id = 0;
        uint64_t wParam = 0;
        int64_t lParam = 0;
    };
    struct PassResult {
        bool tookMessage = false;
        bool ranFrame = false;
        bool quit = false;
        uint32_t untilDue = 0;
    };

    PassResult pass();
    std::optional<Message> takeMessage();
    void route(const Message& message);
    bool frameAllowed() const;
    bool sessionOver() const;
    void deliverScriptedEvents(int32_t frame);
    void followReplay();

    CoreApp* app_ = nullptr;
    std::deque<Message> input_;
    std::optional<int> quitCode_;
    bool paintPending_ = false;
    bool started_ = false;
    CanvasPicture canvas_;
    uint32_t lastFrame_ = 0;
    int32_t framesRun_ = 0;

    // What holds the application back; the page's title and the mouse gate follow from it.
    RunState runState_;

    // A session of a fixed number of frames, maybe scripted.
    std::optional<int32_t> sessionFrames_;
    bool sessionReported_ = false;
    bool scripted_ = false;
    std::vector<replay::ScriptEvent> script_;
    std::size_t nextScripted_ = 0;
};

// The one loop of the page.
WebShell& webShell();

// The text of one of CoreApp's fixed-size names, which may fill the array without a terminating zero.
std::string nameText(const std::array<char, 32>& name);

}  // namespace qv::web
