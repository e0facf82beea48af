// The keys a player presses at the window, through the real loop: pause and full screen.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>

#include "app/boxes.h"
#include "helpers/window_facts.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

class ShellKeys : public ShellTest {
protected:
    // Runs the loop until `idles` passes in a row did nothing but idle, and forgets the idling.
    static void runUntilIdle(RecordingApp& app, int idles = 3) {
        std::size_t logged = app.log.size();
        int quiet = 0;
        app.idleResult = [&] {
            quiet = app.log.size() == logged + 1 ? quiet + 1 : 0;
            logged = app.log.size();
            return quiet < idles ? 1 : 0;
        };
        ASSERT_EQ(app.mainLoop(), 0);
        std::erase(app.log, "idle");
    }

    static std::pair<int32_t, int32_t> windowSize(const RecordingApp& app) {
        const WindowFacts facts = inspectWindow(app.window);
        return {facts.clientWidth, facts.clientHeight};
    }
};

// Paused, no frame runs however much time passes, the mouse reaches nothing and the title says so.
// Resuming runs a frame at once, without catching up on the time missed, and the mouse is back.
TEST_F(ShellKeys, PauseHoldsFramesAndTheMouseAndResumingRunsAFrameAtOnce) {
    RecordingApp app;
    app.frameInterval = 17;
    uint32_t now = 0;
    app.clock = [&now] { return now; };
    ASSERT_TRUE(start(app));

    ASSERT_TRUE(postKeyPress(app.window, SDLK_p));
    ASSERT_TRUE(postMouseMotion(app.window, 5, 6));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 7, 8));
    app.frameResult = [&now] { now += 1000; return 1; };  // were a frame to run, much time would pass
    now = 1000;
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(app.log, Log{});
    EXPECT_TRUE(app.paused());
    EXPECT_EQ(inspectWindow(app.window).title, "qv-test (paused)");

    // Held down, P repeats: only the press counts.
    ASSERT_TRUE(postKeyPress(app.window, SDLK_PAUSE));
    ASSERT_TRUE(postKeyPress(app.window, SDLK_PAUSE, 0, true));
    ASSERT_TRUE(postMouseMotion(app.window, 9, 10));
    app.frameResult = [] { return 1; };
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(app.log, (Log{"frame", "move 9 10"}));  // the clock stood still: one frame, at once
    EXPECT_FALSE(app.paused());
    EXPECT_EQ(inspectWindow(app.window).title, "qv-test");
}

// While a replay plays the game, the player's mouse reaches nothing and the title says so, paused
// or not; once the application hands over (here from the frame that resuming runs), the mouse is
// the player's again.
TEST_F(ShellKeys, AReplayKeepsThePlayersMouseFromTheGameUntilItHandsOver) {
    RecordingApp app;
    app.frameInterval = 17;
    app.clock = [] { return 0u; };
    app.replayPlays = true;
    ASSERT_TRUE(start(app));
    EXPECT_EQ(inspectWindow(app.window).title, "qv-test (replay)");

    ASSERT_TRUE(postMouseMotion(app.window, 5, 6));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 7, 8));
    ASSERT_TRUE(postKeyPress(app.window, SDLK_p));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(app.log, Log{});
    EXPECT_EQ(inspectWindow(app.window).title, "qv-test (replay, paused)");

    app.frameResult = [&app] { app.replayPlays = false; return 1; };
    ASSERT_TRUE(postKeyPress(app.window, SDLK_p));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(inspectWindow(app.window).title, "qv-test");
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 9, 10));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(app.log, (Log{"frame", "ldown 9 10"}));
}

// F11 fills the screen (the test driver's is 1024 x 768) with the client area at the largest whole
// scale that fits, centred on black, and the mouse reaches the client pixel under it, or one beside
// the client area. Escape gives the window back at its size; Alt+Enter fills the screen again.
TEST_F(ShellKeys, FullScreenCentresThePictureOnBlackAndMapsTheMouse) {
    RecordingApp app;
    app.windowSpec.clientWidth = 448;
    app.windowSpec.clientHeight = 640;
    app.requestedScale = 1;
    app.frameInterval = 0;
    ASSERT_EQ(app.createBackBuffer(448, 640, 0), 1);
    fillBox(app.backBuffer, 0, 0, 448, 640, 0x00336699);
    fillBox(app.backBuffer, 447, 639, 1, 1, 0x00C0FFEE);
    ASSERT_TRUE(start(app));

    ASSERT_TRUE(postKeyPress(app.window, SDLK_F11));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_TRUE(app.fullscreen());
    EXPECT_EQ(windowSize(app), std::pair(1024, 768));
    EXPECT_EQ(presentedColour(app.window, 288, 64), 0x00336699u);
    EXPECT_EQ(presentedColour(app.window, 288 + 447, 64 + 639), 0x00C0FFEEu);
    for (const auto& [x, y] : {std::pair(287, 64), std::pair(288, 63), std::pair(736, 400), std::pair(500, 704),
                               std::pair(0, 0), std::pair(1023, 767)}) {
        EXPECT_EQ(presentedColour(app.window, x, y), 0u) << "beside the picture at " << x << "," << y;
    }

    app.log.clear();
    ASSERT_TRUE(postMouseMotion(app.window, 288 + 10, 64 + 20));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 287, 63));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::right, true, 288 + 448, 64 + 640));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(app.log, (Log{"move 10 20", "ldown -1 -1", "rdown 448 640"}));

    ASSERT_TRUE(postKeyPress(app.window, SDLK_ESCAPE));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_FALSE(app.fullscreen());
    EXPECT_EQ(windowSize(app), std::pair(448, 640));
    EXPECT_EQ(presentedColour(app.window, 447, 639), 0x00C0FFEEu);
    app.log.clear();
    ASSERT_TRUE(postMouseMotion(app.window, 10, 20));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_EQ(app.log, Log{"move 10 20"});

    ASSERT_TRUE(postKeyPress(app.window, SDLK_RETURN, KMOD_LALT));
    ASSERT_NO_FATAL_FAILURE(runUntilIdle(app));
    EXPECT_TRUE(app.fullscreen());
    EXPECT_EQ(presentedColour(app.window, 288, 64), 0x00336699u);
}

}  // namespace
}  // namespace qv
