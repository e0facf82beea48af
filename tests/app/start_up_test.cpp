#include <gtest/gtest.h>

#include <cstdlib>

#include "app/instance_lock.h"
#include "helpers/window_facts.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

class StartUp : public ShellTest {};

// Start-up shows the window and paints it once before the loop.
TEST_F(StartUp, WindowIsShownAndPaintedOnceBeforeTheLoop) {
    RecordingApp app;
    ASSERT_TRUE(app.startUp(""));
    EXPECT_TRUE(inspectWindow(app.window).shown);
    EXPECT_EQ(app.log, Log{"paint"});
}

// A run that cannot start ends with status 1 and one line on standard error that says why, and
// nothing else on it.
TEST_F(StartUp, FailureExitsWithStatusOneAndOneLineSayingWhy) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    InstanceLock firstCopy;
    ASSERT_EQ(firstCopy.acquire("qv-running"), InstanceLock::Result::acquired);
    const struct {
        std::function<void(RecordingApp&)> arrange;
        const char* says;
    } cases[] = {
        {[](RecordingApp& a) { a.initResult = [] { return 0; }; }, "qv-failing: cannot start: the initialisation failed"},
        {[](RecordingApp& a) { a.rename("qv-running"); }, "another copy is already running"},
        {[](RecordingApp&) { setenv("SDL_VIDEODRIVER", "no-such-driver", 1); },
         "qv-failing: cannot start: no display: the video driver 'no-such-driver'"},
        {[](RecordingApp&) {  // nothing to show a window on: not run unseen, and no library speaks up
             unsetenv("SDL_VIDEODRIVER");
             unsetenv("DISPLAY");
             unsetenv("WAYLAND_DISPLAY");
             unsetenv("XDG_RUNTIME_DIR");
         },
         "qv-failing: cannot start: no display: neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {[](RecordingApp& a) { a.beforeWindowResult = [] { return 0; }; },
         "qv-failing: cannot start: the application stopped before its window opened"},
        {[](RecordingApp& a) { a.windowSpec.clientWidth = 0; }, "qv-failing: cannot start: no window"},
        {[](RecordingApp& a) { a.requestedScale = 60; }, "qv-failing: cannot start: no window"},  // 18000 pixels a side
        {[](RecordingApp& a) {  // a window that nothing can be shown in is no window
             a.presentingPath = PresentingPath::texture;  // the video driver of the tests has no renderer
         },
         "qv-failing: cannot start: no window: it cannot show pictures"},
        {[](RecordingApp&) { setenv("XDG_RUNTIME_DIR", "/nonexistent/qv", 1); },
         "qv-failing: cannot start: cannot open the lock file /nonexistent/qv/qv-failing.lock"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                RecordingApp app("qv-failing");
                c.arrange(app);
                const int code = app.run("");
                std::filesystem::remove_all(runtimeDir_.path());  // the child's own: it never reaches TearDown
                std::_Exit(code);
            },
            ::testing::ExitedWithCode(1), ::testing::MatchesRegex(std::string("[^\n]*") + c.says + "[^\n]*\n"));
    }
}

// What only the one running copy may do (take a file over) waits for the lock.
TEST_F(StartUp, TheApplicationsLastSayBeforeTheWindowComesAfterTheLock) {
    InstanceLock firstCopy;
    ASSERT_EQ(firstCopy.acquire("qv-running"), InstanceLock::Result::acquired);
    RecordingApp secondCopy("qv-running");
    bool asked = false;
    secondCopy.beforeWindowResult = [&asked] { asked = true; return 1; };
    EXPECT_FALSE(secondCopy.startUp(""));
    EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace qv::testing
