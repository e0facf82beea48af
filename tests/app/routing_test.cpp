#include <gtest/gtest.h>

#include "shell_fixture.h"

namespace qv::testing {
namespace {

// Position word 0x0010FFFF: the low half 0xFFFF is x = -1 as a signed 16-bit value, the high half
// is y = 16. Paints and mouse messages are handled, whatever the key state; nothing else is.
TEST(MessageRouting, EachMessageReachesItsOperationWithSignedCoordinatesWhateverTheKeyState) {
    const struct {
        uint32_t message;
        const char* call;  // nullptr: not handled
    } cases[] = {{kMouseMoveMessage, "move -1 16"},        {kLeftButtonDownMessage, "ldown -1 16"},
                 {kLeftButtonUpMessage, "lup -1 16"},      {kLeftButtonDoubleClickMessage, "ldbl -1 16"},
                 {kRightButtonDownMessage, "rdown -1 16"}, {kRightButtonUpMessage, "rup -1 16"},
                 {kRightButtonDoubleClickMessage, "rdbl -1 16"}, {kPaintMessage, "paint"},
                 {0x01FF, nullptr}, {0x0207, nullptr}, {kDestroyMessage, nullptr}};
    for (const auto& c : cases) {
        for (const uint64_t keyState : {uint64_t{0}, uint64_t{0x1F}, ~uint64_t{0}}) {
            RecordingApp app;
            EXPECT_EQ(app.onMessage(c.message, keyState, 0x0010FFFF), c.call ? 1 : 0) << "message " << c.message;
            EXPECT_EQ(app.log, Log{c.call ? c.call : "other " + std::to_string(c.message)}) << "keys " << keyState;
        }
    }
}

class Routing : public ShellTest {};

// What the window system sends becomes the message that reaches its operation.
TEST_F(Routing, EventBecomesTheMessageThatReachesItsOperation) {
    using enum MouseButton;
    const auto press = [](MouseButton button, bool down, int32_t x, int32_t y, int clicks = 1) {
        return [=](SDL_Window* w) { return postMouseButton(w, button, down, x, y, clicks); };
    };
    const struct {
        const char* name;
        std::function<bool(SDL_Window*)> post;
        Log calls;
    } cases[] = {
        {"move outside", [](SDL_Window* w) { return postMouseMotion(w, -1, 16); }, {"move -1 16"}},
        {"left press", press(left, true, 10, 20), {"ldown 10 20"}},
        {"left release", press(left, false, 10, 20), {"lup 10 20"}},
        {"right press", press(right, true, 447, 639), {"rdown 447 639"}},
        {"right release", press(right, false, 0, 0), {"rup 0 0"}},
        {"second click is another press", press(left, true, 3, 4, 2), {"ldown 3 4"}},
        {"middle button", press(middle, true, 3, 4), {}},
        {"key", [](SDL_Window* w) { return postKeyPress(w); }, {}},
        {"exposure", [](SDL_Window* w) { return postWindowExposed(w); }, {"paint"}},
    };
    for (const auto& c : cases) {
        RecordingApp app;
        app.frameInterval = 0;
        ASSERT_TRUE(start(app)) << c.name;
        ASSERT_TRUE(c.post(app.window)) << c.name;
        app.idleResult = [] { return 0; };
        EXPECT_EQ(app.mainLoop(), 0) << c.name;
        std::erase(app.log, "idle");
        EXPECT_EQ(app.log, c.calls) << c.name;
    }
}

// In a window k times the client area, the application sees client pixels: window pixels divided
// by k, rounding down, also left of and above the window.
TEST_F(Routing, MousePositionsOfAScaledWindowArriveInClientPixels) {
    RecordingApp app;
    app.windowSpec.clientWidth = 10;
    app.windowSpec.clientHeight = 8;
    app.requestedScale = 3;
    app.frameInterval = 0;
    ASSERT_TRUE(start(app));
    ASSERT_EQ(app.windowScale, 3);
    ASSERT_TRUE(postMouseMotion(app.window, -1, 16));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::left, true, 29, 23));
    ASSERT_TRUE(postMouseButton(app.window, MouseButton::right, false, 3, -4));
    app.idleResult = [] { return 0; };
    EXPECT_EQ(app.mainLoop(), 0);  // input ranks before the quit that the first idle pass posts
    std::erase(app.log, "idle");
    EXPECT_EQ(app.log, (Log{"move -1 5", "ldown 9 7", "rup 1 -2"}));
}

// A closed window is destroyed, and the loop ends with code zero on the next pass.
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
