#include <gtest/gtest.h>

#include "app/synthetic_input.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

struct RoutingCase {
    const char* name;
    std::function<bool(SDL_Window*)> post;
    std::vector<uint32_t> messages;    // what reaches onMessage
    std::vector<std::string> calls;    // what the application's operations saw
};

void PrintTo(const RoutingCase& c, std::ostream* os) { *os << c.name; }

class Routing : public ShellTest, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(Routing, EventBecomesTheMessageThatReachesItsOperation) {
    const RoutingCase& c = GetParam();
    RecordingApp app;
    setName(app, "qv-routing");
    app.frameInterval = 0;
    ASSERT_TRUE(app.startUp(""));
    discardQueuedEvents();
    app.log.clear();
    app.messages.clear();
    ASSERT_TRUE(c.post(app.window));
    app.idleResult = [] { return 0; };

    EXPECT_EQ(app.mainLoop(), 0);
    std::erase(app.log, "idle");
    EXPECT_EQ(app.messages, c.messages);
    EXPECT_EQ(app.log, c.calls);
    app.shutDown();
}

INSTANTIATE_TEST_SUITE_P(
    WindowEvents, Routing,
    ::testing::Values(
        RoutingCase{"MoveLeftOfAndBelowTheTop", [](SDL_Window* w) { return postMouseMotion(w, -1, 16); },
                    {kMouseMoveMessage}, {"move -1 16"}},
        RoutingCase{"LeftPress", [](SDL_Window* w) { return postMouseButton(w, MouseButton::left, true, 10, 20); },
                    {kLeftButtonDownMessage}, {"ldown 10 20"}},
        RoutingCase{"LeftRelease", [](SDL_Window* w) { return postMouseButton(w, MouseButton::left, false, 10, 20); },
                    {kLeftButtonUpMessage}, {"lup 10 20"}},
        RoutingCase{"RightPress", [](SDL_Window* w) { return postMouseButton(w, MouseButton::right, true, 447, 639); },
                    {kRightButtonDownMessage}, {"rdown 447 639"}},
        RoutingCase{"RightRelease", [](SDL_Window* w) { return postMouseButton(w, MouseButton::right, false, 0, 0); },
                    {kRightButtonUpMessage}, {"rup 0 0"}},
        RoutingCase{"SecondClickIsAnotherPress",
                    [](SDL_Window* w) { return postMouseButton(w, MouseButton::left, true, 3, 4, 2); },
                    {kLeftButtonDownMessage}, {"ldown 3 4"}},
        RoutingCase{"MiddleButtonMeansNothing",
                    [](SDL_Window* w) { return postMouseButton(w, MouseButton::middle, true, 3, 4); }, {}, {}},
        RoutingCase{"KeyMeansNothing", [](SDL_Window* w) { return postKeyPress(w); }, {}, {}},
        RoutingCase{"ExposureIsAPaint", [](SDL_Window* w) { return postWindowExposed(w); }, {kPaintMessage},
                    {"paint"}},
        RoutingCase{"CloseDestroys", [](SDL_Window* w) { return postWindowClose(w); }, {kDestroyMessage}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

class Closing : public ShellTest {};

TEST_F(Closing, ClosingTheWindowEndsTheRunWithCodeZero) {
    RecordingApp app;
    setName(app, "qv-closing");
    app.frameInterval = 1;
    int idles = 0;
    app.idleResult = [&] {
        if (++idles == 1) postWindowClose(app.window);
        return 1;
    };
    app.frameResult = app.idleResult;
    EXPECT_EQ(app.run(""), 0);
    EXPECT_EQ(std::count(app.messages.begin(), app.messages.end(), kDestroyMessage), 1);
    EXPECT_EQ(app.window, nullptr);
}

}  // namespace
}  // namespace qv::testing
