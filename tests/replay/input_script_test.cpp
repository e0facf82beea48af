#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "replay/input_script.h"

namespace qv::replay {
namespace {

// Blank lines and comments are skipped, and a line may be 4096 characters long, no longer, however
// long it is. A bad line is refused by its number and quoted as a short excerpt with anything
// unprintable replaced, never echoed whole.
TEST(InputScript, ReadsEventsAndRefusesBadLinesByNumberWithAShortPrintableExcerpt) {
    const std::string longest = "9 rup -2147483648 0" + std::string(4096 - 19, ' ');
    std::istringstream good("# a comment\n\n1 move 0 0\n1 ldown -5 2147483647\n  \n7 rdown 10 20\n7 lup 1 1\n" + longest +
                            "\n" + longest);
    std::string error;
    const auto events = parseInputScript(good, error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 6u);
    const ScriptEvent& last = events->back();
    EXPECT_EQ(std::tuple((*events)[1].x, (*events)[1].y, last.frame, last.x), std::tuple(-5, 2147483647, 9, INT32_MIN));
    const MouseAction actions[] = {MouseAction::Move,   MouseAction::LeftDown, MouseAction::RightDown,
                                   MouseAction::LeftUp, MouseAction::RightUp,  MouseAction::RightUp};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ((*events)[i].action, actions[i]);
    }

    // Each after a good first line for frame 2.
    const std::string bad[] = {"0 move 1 1", "1 move 1 1", "2 click 1 1", "2 move 1", "2 move 1 1 1", "2 move 1.5 1",
                               "2 move 1 2147483648", "2 move 0x10 1", longest + " ", "#" + std::string(10 << 20, 'x'),
                               std::string(10 << 20, '7'), "2 move \x1b[2J\x07 1", "2 \x1b]0;title\x07 1 1",
                               std::string(5000, '\x01') + "\n2 move 1 1"};
    for (const std::string& text : bad) {
        std::istringstream script("2 move 1 1\n" + text + "\n");
        EXPECT_FALSE(parseInputScript(script, error)) << text.substr(0, 40);
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error.substr(0, 200);
        EXPECT_LT(error.size(), 200u) << error.substr(0, 200);
        EXPECT_TRUE(std::all_of(error.begin(), error.end(), [](char c) { return c >= ' ' && c <= '~'; }))
            << error.substr(0, 200);
    }
}

}  // namespace
}  // namespace qv::replay
