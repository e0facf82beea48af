#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/core_app.h"
#include "app/messages.h"

namespace qv::testing {

// An application that writes down everything the shell asks of it, and routes messages the way
// the game does: paints to onPaint, everything else to dispatchMouse.
class RecordingApp : public CoreApp {
public:
    std::vector<std::string> log;
    std::vector<uint32_t> messages;
    std::function<int()> frameResult = [] { return 1; };
    std::function<int()> idleResult = [] { return 1; };
    std::function<int()> initResult = [] { return 1; };
    std::function<void(DrawContext&)> drawing = [](DrawContext&) {};
    int initCalls = 0;

    int onInit() override {
        ++initCalls;
        return initResult();
    }
    int onFrame() override {
        log.push_back("frame");
        return frameResult();
    }
    int onIdle() override {
        log.push_back("idle");
        return idleResult();
    }
    int onMessage(uint32_t message, uint64_t wParam, int64_t lParam) override {
        messages.push_back(message);
        if (message == kPaintMessage) {
            log.push_back("paint");
            return onPaint();
        }
        return dispatchMouse(message, wParam, lParam);
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

inline void setName(CoreApp& app, const char* name) {
    app.className.fill('\0');
    std::strncpy(app.className.data(), name, app.className.size() - 1);
    app.title.fill('\0');
    std::strncpy(app.title.data(), name, app.title.size() - 1);
}

// Every shell test runs on SDL's dummy video driver, with a lock directory of its own so that
// tests running side by side never see each other's locks.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-shell-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        runtimeDir_ = pattern;
        setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir_, ignored);
    }

    std::string runtimeDir_;
};

}  // namespace qv::testing
