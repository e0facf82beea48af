#include <gtest/gtest.h>

#include "app/messages.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

struct MouseCase {
    uint32_t message;
    const char* operation;  // nullptr: not a mouse message
};

void PrintTo(const MouseCase& c, std::ostream* os) { *os << "message 0x" << std::hex << c.message; }

class MouseDispatch : public ::testing::TestWithParam<MouseCase> {};

// 0x0010FFFF: the low half 0xFFFF is x = -1 as a signed 16-bit value, the high half is y = 16.
TEST_P(MouseDispatch, ReachesItsOperationWithSignedCoordinatesWhateverTheKeyState) {
    const MouseCase& c = GetParam();
    for (const uint64_t keyState : {uint64_t{0}, uint64_t{0x1F}, ~uint64_t{0}}) {
        RecordingApp app;
        const int handled = app.dispatchMouse(c.message, keyState, 0x0010FFFF);
        if (c.operation == nullptr) {
            EXPECT_EQ(handled, 0);
            EXPECT_TRUE(app.log.empty());
        } else {
            EXPECT_EQ(handled, 1);
            EXPECT_EQ(app.log, std::vector<std::string>{std::string(c.operation) + " -1 16"});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, MouseDispatch,
    ::testing::Values(MouseCase{kMouseMoveMessage, "move"}, MouseCase{kLeftButtonDownMessage, "ldown"},
                      MouseCase{kLeftButtonUpMessage, "lup"}, MouseCase{kLeftButtonDoubleClickMessage, "ldbl"},
                      MouseCase{kRightButtonDownMessage, "rdown"}, MouseCase{kRightButtonUpMessage, "rup"},
                      MouseCase{kRightButtonDoubleClickMessage, "rdbl"}, MouseCase{0x01FF, nullptr},
                      MouseCase{0x0207, nullptr}, MouseCase{kPaintMessage, nullptr},
                      MouseCase{kDestroyMessage, nullptr}));

}  // namespace
}  // namespace qv::testing
