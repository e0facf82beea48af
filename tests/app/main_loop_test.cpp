#include <gtest/gtest.h>

#include <algorithm>

#include "app/synthetic_input.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

// A millisecond counter that gives the listed readings one after the other, then keeps giving
// the last one. The application quits once every reading has been used.
struct ScriptedClock {
    std::vector<uint32_t> readings;
    std::size_t used = 0;

    uint32_t read() { return readings[std::min(used++, readings.size() - 1)]; }
    uint32_t latest() const { return readings[std::min(used, readings.size()) - 1]; }
    bool exhausted() const { return used >= readings.size(); }
};

struct PacingCase {
    const char* name;
    uint32_t start;  // the counter's reading when the loop starts; the rest are offsets from it
};

void PrintTo(const PacingCase& c, std::ostream* os) { *os << c.name; }

class FramePacing : public ::testing::TestWithParam<PacingCase> {};

// Interval 17. Readings after the start: frames at 17 and 34; at 100 a frame although 66 ms
// were missed, and at 101 none, since missed time is not caught up; then 117 and, 16 ms after it,
// no frame at 133 but one at 134.
TEST_P(FramePacing, FramesComeAtTheFirstPassAnIntervalAfterTheLastOneStarted) {
    const uint32_t start = GetParam().start;
    ScriptedClock clock;
    for (const uint32_t offset : {0u, 10u, 17u, 20u, 30u, 34u, 100u, 101u, 117u, 118u, 133u, 134u}) {
        clock.readings.push_back(start + offset);  // wraps around for the late starts
    }
    RecordingApp app;
    app.frameInterval = 17;
    app.clock = [&] { return clock.read(); };
    std::vector<uint32_t> frameTimes;
    app.frameResult = [&] {
        frameTimes.push_back(clock.latest() - start);
        return clock.exhausted() ? 0 : 1;
    };
    app.idleResult = [&] { return clock.exhausted() ? 0 : 1; };

    EXPECT_EQ(app.mainLoop(), 0);
    EXPECT_EQ(frameTimes, (std::vector<uint32_t>{17, 34, 100, 117, 134}));
}

INSTANTIATE_TEST_SUITE_P(AcrossTheCounterWrap, FramePacing,
                         ::testing::Values(PacingCase{"FromZero", 0}, PacingCase{"WrapsAfterTheStart", 0xFFFFFFF0u},
                                           PacingCase{"WrapsBetweenFrames", 0xFFFFFFFFu - 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainLoop, IntervalZeroIdlesOnEveryPassAndNeverFrames) {
    RecordingApp app;
    app.frameInterval = 0;
    int idles = 0;
    app.idleResult = [&] { return ++idles < 10 ? 1 : 0; };
    EXPECT_EQ(app.mainLoop(), 0);
    // The tenth onIdle asks to quit; the pass that takes the quit still runs its idle test.
    EXPECT_EQ(app.log, std::vector<std::string>(11, "idle"));
}

TEST(MainLoop, FrameAskingToQuitEndsTheLoopOnePassLater) {
    ScriptedClock clock{{0, 17, 18, 19, 20}};
    RecordingApp app;
    app.frameInterval = 17;
    app.clock = [&] { return clock.read(); };
    app.frameResult = [] { return 0; };
    EXPECT_EQ(app.mainLoop(), 0);
    EXPECT_EQ(app.log, (std::vector<std::string>{"frame", "idle"}));
}

class MessagePasses : public ShellTest {};

// Input is taken one event a pass; a requested paint (asked for twice, painted once) follows it.
TEST_F(MessagePasses, OneMessagePerPassAndThePaintAfterTheInput) {
    RecordingApp app;
    setName(app, "qv-one-per-pass");
    app.frameInterval = 0;
    ASSERT_TRUE(app.startUp(""));
    discardQueuedEvents();
    app.log.clear();
    app.invalidate();
    app.invalidate();
    ASSERT_TRUE(postMouseMotion(app.window, 1, 2));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 3, 4));
    int idles = 0;
    app.idleResult = [&] { return ++idles < 4 ? 1 : 0; };

    EXPECT_EQ(app.mainLoop(), 0);
    EXPECT_EQ(app.log, (std::vector<std::string>{"move 1 2", "idle", "ldown 3 4", "idle", "paint", "idle", "idle",
                                                 "idle"}));
    app.shutDown();
}

}  // namespace
}  // namespace qv::testing
