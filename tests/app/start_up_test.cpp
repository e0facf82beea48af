#include <gtest/gtest.h>

#include <cstdlib>

#include "app/instance_lock.h"
#include "app/window_facts.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

class StartUp : public ShellTest {};

TEST_F(StartUp, WindowHasExactlyTheClientAreaAndCannotBeResized) {
    RecordingApp app;
    setName(app, "Quorvantile Test");
    app.windowSpec.clientWidth = 448;
    app.windowSpec.clientHeight = 640;
    ASSERT_TRUE(app.startUp(""));
    const WindowFacts facts = inspectWindow(app.window);
    EXPECT_EQ(facts.clientWidth, 448);
    EXPECT_EQ(facts.clientHeight, 640);
    EXPECT_FALSE(facts.resizable);
    EXPECT_TRUE(facts.shown);
    EXPECT_EQ(facts.title, "Quorvantile Test");
    EXPECT_EQ(app.log, std::vector<std::string>{"paint"});  // painted once before the loop
    app.shutDown();
    EXPECT_EQ(app.window, nullptr);
}

// The picture is handed to the window system as it stands; one that does not hold width x height
// pixels is left out instead of being read past its end.
TEST_F(StartUp, IconIsTakenWhenWellFormedAndIgnoredOtherwise) {
    const IconImage icons[] = {
        {2, 2, std::vector<uint8_t>(16, 0xFF)},
        {32, 32, std::vector<uint8_t>(16, 0xFF)},
        {-4, 4, {}},
        {0, 0, {}},
    };
    for (const IconImage& icon : icons) {
        RecordingApp app;
        setName(app, "qv-icon");
        app.icon = icon;
        EXPECT_TRUE(app.startUp(""));
        app.shutDown();
    }
}

// A run that cannot start ends with status 1 and one line on standard error that says why.
struct FailureCase {
    const char* name;
    std::function<void(RecordingApp&)> arrange;
    const char* says;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailedStartUp : public ShellTest, public ::testing::WithParamInterface<FailureCase> {};

::testing::Matcher<const std::string&> oneLineSaying(const std::string& text) {
    return ::testing::MatchesRegex("[^\n]*" + text + "[^\n]*\n");
}

TEST_P(FailedStartUp, ExitsWithStatusOneAndSaysWhy) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const FailureCase& c = GetParam();
    InstanceLock firstCopy;
    ASSERT_EQ(firstCopy.acquire("qv-running"), InstanceLock::Result::acquired);
    EXPECT_EXIT(
        {
            RecordingApp app;
            setName(app, "qv-failing");
            c.arrange(app);
            std::_Exit(app.run(""));
        },
        ::testing::ExitedWithCode(1), oneLineSaying(c.says));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailedStartUp,
    ::testing::Values(
        FailureCase{"Initialisation", [](RecordingApp& a) { a.initResult = [] { return 0; }; },
                    "qv-failing: cannot start: the initialisation failed"},
        FailureCase{"InitialisationWithItsOwnExplanation",
                    [](RecordingApp& a) {
                        a.initResult = [&a] {
                            a.startUpError = "qv-failing: back2_sml.bmp is not a picture";
                            return 0;
                        };
                    },
                    "qv-failing: back2_sml.bmp is not a picture"},
        FailureCase{"AnotherCopy", [](RecordingApp& a) { setName(a, "qv-running"); }, "another copy is already running"},
        FailureCase{"NoDisplay", [](RecordingApp&) { setenv("SDL_VIDEODRIVER", "no-such-driver", 1); },
                    "qv-failing: cannot start: no display"},
        FailureCase{"NoWindow", [](RecordingApp& a) { a.windowSpec.clientWidth = 0; },
                    "qv-failing: cannot start: no window"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv::testing
