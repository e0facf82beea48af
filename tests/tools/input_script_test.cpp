#include <gtest/gtest.h>

#include <sstream>

#include "input_script.h"

namespace qv::headless {
namespace {

std::optional<std::vector<ScriptEvent>> parse(const std::string& text, std::string& error) {
    std::istringstream input(text);
    return parseInputScript(input, error);
}

TEST(InputScript, ReadsEventsSkippingBlankAndCommentLines) {
    std::string error;
    const auto events = parse("# a pour in the corner\n\n1 move 0 0\n1 ldown -5 2147483647\n  \n7 rdown 10 20\n"
                              "7 lup 1 1\n9 rup -2147483648 0\n",
                              error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 5u);
    EXPECT_EQ((*events)[1].action, MouseAction::LeftDown);
    EXPECT_EQ((*events)[1].x, -5);
    EXPECT_EQ((*events)[1].y, 2147483647);
    EXPECT_EQ((*events)[2].frame, 7);
    EXPECT_EQ((*events)[2].action, MouseAction::RightDown);
    EXPECT_EQ((*events)[3].action, MouseAction::LeftUp);
    EXPECT_EQ((*events)[4].action, MouseAction::RightUp);
    EXPECT_EQ((*events)[4].x, -2147483648);
}

TEST(InputScript, BadLinesAreRefusedByLineNumber) {
    const std::string bad[] = {
        "0 move 1 1",          // frames start at 1
        "3 move 1 1\n2 move 1 1",  // frames never go back
        "1 click 1 1",         // no such event
        "1 move 1",            // too few fields
        "1 move 1 1 1",        // too many
        "1 move 1.5 1",        // not whole
        "1 move 1 2147483648",  // beyond 32 bits
        "x move 1 1",
        "1 move 0x10 1",
    };
    for (const std::string& text : bad) {
        std::string error;
        const std::string script = "# header\n" + text + "\n";
        EXPECT_FALSE(parse(script, error)) << text;
        const std::string expectedLine = text.find('\n') != std::string::npos ? "line 3" : "line 2";
        EXPECT_NE(error.find(expectedLine), std::string::npos) << "'" << error << "' for " << text;
    }
}

}  // namespace
}  // namespace qv::headless
