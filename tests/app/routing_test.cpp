#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace qv::testing {
namespace {

// Messages handed in directly: the position word 0x0010FFFF is x = -1 (its low half as a signed
// 16-bit value) and y = 16, whatever the key state. Double clicks, which the window system never
// sends, reach their own operations; what is no mouse message is not handled.
TEST(MessageRouting, EachMessageReachesItsOperationWithSignedCoordinatesWhateverTheKeyState) {
    const struct {
        uint32_t message;
        const char* call;  // nullptr: not handled
    } cases[] = {{kMouseMoveMessage, "move -1 16"}, {kLeftButtonDoubleClickMessage, "ldbl -1 16"},
                 {kRightButtonDoubleClickMessage, "rdbl -1 16"}, {0x01FF, nullptr}, {0x0207, nullptr},
                 {kDestroyMessage, nullptr}};
    for (const auto& c : cases) {
        RecordingApp app;
        EXPECT_EQ(app.onMessage(c.message, ~uint64_t{0}, 0x0010FFFF), c.call ? 1 : 0) << "message " << c.message;
        EXPECT_EQ(app.log, Log{c.call ? c.call : "other " + std::to_string(c.message)});
    }
}

class Routing : public ShellTest {};

// What the window system sends reaches its operation in client pixels: in a window 3 times the
// client area, window pixels divided by 3, rounding down, also left of and above the window. A
// quick second click is another press, an exposure a paint; the middle button and keys reach
// nothing. All input is taken before the quit that the first idle pass posts.
TEST_F(Routing, WindowInputReachesItsOperationInClientPixels) {
    using enum MouseButton;
    RecordingApp app;
    app.requestedScale = 3;
    app.frameInterval = 0;
    ASSERT_TRUE(start(app));
    ASSERT_EQ(app.windowScale, 3);
    for (const bool posted :
         {postMouseMotion(app.window, -1, 16), postMouseButton(app.window, left, true, 29, 23),
          postMouseButton(app.window, left, false, 10, 20), postMouseButton(app.window, right, true, 447, 639),
          postMouseButton(app.window, right, false, 3, -3), postMouseButton(app.window, left, true, 3, 4, 2),
          postMouseButton(app.window, middle, true, 3, 4), postKeyPress(app.window), postWindowExposed(app.window)}) {
        ASSERT_TRUE(posted);
    }
    app.idleResult = [] { return 0; };
    EXPECT_EQ(app.mainLoop(), 0);
    std::erase(app.log, "idle");
    EXPECT_EQ(app.log, (Log{"move -1 5", "ldown 9 7", "lup 3 6", "rdown 149 213", "rup 1 -1", "ldown 1 1", "paint"}));
}

// A closed window is destroyed, and the loop ends with code zero on the next pass. (The real window
// system also sends a quit after its last window closes; the dummy driver of these tests does not.)
TEST_F(Routing, ClosingTheWindowEndsTheLoop) {
    RecordingApp app;
    app.frameInterval = 0;
    ASSERT_TRUE(start(app));
    ASSERT_TRUE(postWindowClose(app.window));
    app.idleResult = [&] { return app.log.size() < 5 ? 1 : 0; };  // else the loop would end later
    EXPECT_EQ(app.mainLoop(), 0);
    EXPECT_EQ(app.log, (Log{"other " + std::to_string(kDestroyMessage), "idle", "idle"}));
}

}  // namespace
}  // namespace qv::testing
