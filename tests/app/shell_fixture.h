#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/core_app.h"
#include "app/messages.h"
#include "helpers/scratch_folder.h"
#include "helpers/synthetic_input.h"

namespace qv::testing {

using Log = std::vector<std::string>;

// An application that writes down everything the shell asks of it, and routes messages the way
// the game does: paints to onPaint, everything else to dispatchMouse. The name is its window title
// and the name of its lock.
class RecordingApp : public CoreApp {
public:
    explicit RecordingApp(const char* name = "qv-test") { rename(name); }

    Log log;  // messages that no operation took are written down as "other <number>"
    std::function<int()> frameResult = [] { return 1; };
    std::function<int()> idleResult = [] { return 1; };
    std::function<int()> initResult = [] { return 1; };
    std::function<int()> beforeWindowResult = [] { return 1; };
    bool replayPlays = false;
    std::function<void(DrawContext&)> drawing = [](DrawContext&) {};

    void rename(const char* name) {
        std::strncpy(className.data(), name, className.size() - 1);
        std::strncpy(title.data(), name, title.size() - 1);
    }
    int onInit() override { return initResult(); }
    int onBeforeWindow() override { return beforeWindowResult(); }
    bool replaying() const override { return replayPlays; }
    int onFrame() override { log.push_back("frame"); return frameResult(); }
    int onIdle() override { log.push_back("idle"); return idleResult(); }
    int onMessage(uint32_t message, uint64_t wParam, int64_t lParam) override {
        if (message == kPaintMessage) {
            log.push_back("paint");
            return onPaint();
        }
        const int handled = dispatchMouse(message, wParam, lParam);
        if (handled == 0) log.push_back("other " + std::to_string(message));
        return handled;
    }
    void onDraw(DrawContext& context) override { drawing(context); }
    void onMouseMove(int32_t x, int32_t y) override { note("move", x, y); }
    void onLButtonDown(int32_t x, int32_t y) override { note("ldown", x, y); }
    void onLButtonUp(int32_t x, int32_t y) override { note("lup", x, y); }
    void onLButtonDblClk(int32_t x, int32_t y) override { note("ldbl", x, y); }
    void onRButtonDown(int32_t x, int32_t y) override { note("rdown", x, y); }
    void onRButtonUp(int32_t x, int32_t y) override { note("rup", x, y); }
    void onRButtonDblClk(int32_t x, int32_t y) override { note("rdbl", x, y); }

private:
    void note(const char* what, int32_t x, int32_t y) {
        log.push_back(std::string(what) + " " + std::to_string(x) + " " + std::to_string(y));
    }
};

// The colour of a back buffer pixel as 0x00BBGGRR, the way the window reports it.
inline uint32_t colourAt(const BackBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* pixel = picture.pixelAt(x, y);
    return uint32_t{pixel[2]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[0]} << 16;
}

// Every shell test runs on SDL's dummy video driver, with a lock directory of its own so that
// tests running side by side never see each other's locks.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("XDG_RUNTIME_DIR", runtimeDir_.path().c_str(), 1);
    }

    // Starts `app` with a window, then forgets what start-up queued and recorded.
    static bool start(RecordingApp& app) {
        if (!app.startUp("")) return false;
        discardQueuedEvents();
        app.log.clear();
        return true;
    }

    ScratchFolder runtimeDir_;
};

}  // namespace qv::testing
