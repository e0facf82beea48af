#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <tuple>

#include "app/instance_lock.h"
#include "helpers/window_facts.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

class StartUp : public ShellTest {};

// The window shows the title, has exactly the client area asked for, cannot be resized and is
// painted once before the loop. The icon is handed to the window system as it stands; one that does
// not hold width x height pixels is left out instead of being read past its end.
TEST_F(StartUp, WindowHasExactlyTheClientAreaWhateverTheIcon) {
    const IconImage icons[] = {{2, 2, std::vector<uint8_t>(16, 0xFF)}, {32, 32, std::vector<uint8_t>(16, 0xFF)},
                               {-4, 4, {}}, {0, 0, {}}};
    for (const IconImage& icon : icons) {
        RecordingApp app;
        app.windowSpec.clientWidth = 448;
        app.windowSpec.clientHeight = 640;
        app.icon = icon;
        ASSERT_TRUE(app.startUp("")) << "icon " << icon.width << " x " << icon.height;
        const WindowFacts facts = inspectWindow(app.window);
        EXPECT_EQ(std::tuple(facts.clientWidth, facts.clientHeight, facts.resizable, facts.shown, facts.title),
                  std::tuple(448, 640, false, true, std::string("qv-test")));
        EXPECT_EQ(app.log, Log{"paint"});
    }
}

// A run that cannot start ends with status 1 and one line on standard error that says why.
TEST_F(StartUp, FailureExitsWithStatusOneAndOneLineSayingWhy) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    InstanceLock firstCopy;
    ASSERT_EQ(firstCopy.acquire("qv-running"), InstanceLock::Result::acquired);
    const struct {
        std::function<void(RecordingApp&)> arrange;
        const char* says;
    } cases[] = {
        {[](RecordingApp& a) { a.initResult = [] { return 0; }; }, "qv-failing: cannot start: the initialisation failed"},
        {[](RecordingApp& a) {
             a.initResult = [&a] { a.startUpError = "qv-failing: back2_sml.bmp is not a picture"; return 0; };
         },
         "qv-failing: back2_sml.bmp is not a picture"},
        {[](RecordingApp& a) { a.rename("qv-running"); }, "another copy is already running"},
        {[](RecordingApp&) { setenv("SDL_VIDEODRIVER", "no-such-driver", 1); }, "qv-failing: cannot start: no display"},
        {[](RecordingApp&) {  // nothing to show a window on: not run unseen
             unsetenv("SDL_VIDEODRIVER");
             unsetenv("DISPLAY");
             unsetenv("WAYLAND_DISPLAY");
         },
         "qv-failing: cannot start: no display"},
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
                std::filesystem::remove_all(runtimeDir_);  // the child's own: it never reaches TearDown
                std::_Exit(code);
            },
            ::testing::ExitedWithCode(1), ::testing::MatchesRegex(std::string("[^\n]*") + c.says + "[^\n]*\n"));
    }
}

// The lock goes with its holder however it ends, even killed.
TEST_F(StartUp, KilledHolderLeavesNoLock) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child must see this test's lock directory
    EXPECT_EXIT(
        {
            InstanceLock lock;
            if (lock.acquire("QV-CRASH") == InstanceLock::Result::acquired) raise(SIGKILL);
            std::_Exit(1);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("QV-CRASH"), InstanceLock::Result::acquired);
}

}  // namespace
}  // namespace qv::testing
