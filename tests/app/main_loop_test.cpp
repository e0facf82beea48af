#include <gtest/gtest.h>

#include <algorithm>

#include "shell_fixture.h"

namespace qv::testing {
namespace {

// Interval 17, the counter read at these offsets from the start: frames at 17 and 34; at 100 a
// frame although 66 ms were missed, and at 101 none, since missed time is not caught up; then 117
// and, 16 ms after it, no frame at 133 but one at 134. The last reading repeats and the run ends
// once all are used. The later starts wrap the 32-bit counter.
TEST(MainLoop, FramesComeAtTheFirstPassAnIntervalAfterTheLastOneStarted) {
    const std::vector<uint32_t> offsets{0, 10, 17, 20, 30, 34, 100, 101, 117, 118, 133, 134};
    for (const uint32_t start : {0u, 0xFFFFFFF0u, 0xFFFFFFFFu - 20}) {
        std::size_t used = 0;
        RecordingApp app;
        app.frameInterval = 17;
        app.clock = [&] { return start + offsets[std::min(used++, offsets.size() - 1)]; };
        app.idleResult = [&] { return used < offsets.size() ? 1 : 0; };
        std::vector<uint32_t> frameTimes;
        app.frameResult = [&] {
            frameTimes.push_back(offsets[std::min(used, offsets.size()) - 1]);
            return app.idleResult();
        };
        EXPECT_EQ(app.mainLoop(), 0) << "start " << start;
        EXPECT_EQ(frameTimes, (std::vector<uint32_t>{17, 34, 100, 117, 134})) << "start " << start;
    }
}

// Interval 0 idles on every pass and never frames. Whichever of onFrame and onIdle returns 0 ends
// the loop with code 0 on the next pass, whose frame test still runs. The counter goes 10 ms a read.
TEST(MainLoop, ZeroFromOnFrameOrOnIdleEndsTheLoopOnePassLater) {
    const struct {
        uint32_t interval;
        bool byFrame;
        Log log;
    } cases[] = {{17, true, {"idle", "frame", "idle"}}, {17, false, {"idle", "frame"}}, {0, false, {"idle", "idle"}}};
    for (const auto& c : cases) {
        RecordingApp app;
        app.frameInterval = c.interval;
        uint32_t reads = 0;
        app.clock = [&] { return 10 * reads++; };
        const std::function<int()> quit = [] { return 0; }, bounded = [&] { return app.log.size() < 6 ? 1 : 0; };
        app.frameResult = c.byFrame ? quit : bounded;
        app.idleResult = c.byFrame ? bounded : quit;
        EXPECT_EQ(app.mainLoop(), 0) << "interval " << c.interval << ", by frame " << c.byFrame;
        EXPECT_EQ(app.log, c.log) << "interval " << c.interval << ", by frame " << c.byFrame;
    }
}

class MessagePasses : public ShellTest {};

// Input is taken one event a pass; a requested paint (asked for twice, painted once) follows it.
TEST_F(MessagePasses, OneMessagePerPassAndThePaintAfterTheInput) {
    RecordingApp app;
    app.frameInterval = 0;
    ASSERT_TRUE(start(app));
    app.invalidate();
    app.invalidate();
    ASSERT_TRUE(postMouseMotion(app.window, 1, 2));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 3, 4));
    app.idleResult = [&] { return std::count(app.log.begin(), app.log.end(), "idle") < 4 ? 1 : 0; };
    EXPECT_EQ(app.mainLoop(), 0);
    EXPECT_EQ(app.log, (Log{"move 1 2", "idle", "ldown 3 4", "idle", "paint", "idle", "idle", "idle"}));
}

}  // namespace
}  // namespace qv::testing
