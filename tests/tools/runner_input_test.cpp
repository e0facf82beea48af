#include <gtest/gtest.h>

#include <sstream>
#include <string_view>
#include <vector>

#include "input_script.h"
#include "options.h"

namespace qv::headless {
namespace {

TEST(HeadlessOptions, ReadsEveryOptionAndRefusesBadOnesByName) {
    std::string error;
    const std::vector<std::string_view> all{"--seed", "4294967295", "--frames",        "600", "--input",       "in.txt",
                                            "--trace", "-",         "--picture",       "p.bmp", "--picture-every", "10",
                                            "--picture-dir", "out"};
    const auto options = parseOptions(all, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(std::tuple(options->seed, options->frames, options->pictureEvery), std::tuple(4294967295u, 600, 10));
    EXPECT_EQ(options->inputPath + options->tracePath + options->picturePath + options->pictureDir, "in.txt-p.bmpout");

    const std::pair<std::vector<std::string_view>, std::string_view> bad[] = {
        {{"--frames", "10", "--colour", "red"}, "--colour"},
        {{"--frames"}, "--frames"},
        {{"--frames", "-1"}, "--frames"},
        {{"--frames", "12x"}, "12x"},
        {{"--frames", "10", "--seed", "4294967296"}, "--seed"},
        {{"--frames", "10", "--seed", "-3"}, "--seed"},
        {{"--frames", "10", "--picture-every", "0", "--picture-dir", "d"}, "--picture-every"},
        {{"--frames", "10", "--picture-every", "5"}, "--picture-dir"},
        {{"--frames", "10", "--trace", ""}, "--trace"},
        {{"--seed", "1"}, "--frames"},
    };
    for (const auto& [arguments, named] : bad) {
        EXPECT_FALSE(parseOptions(arguments, error)) << named;
        EXPECT_NE(error.find(named), std::string::npos) << "'" << error << "' should name " << named;
    }
}

TEST(InputScript, ReadsEventsAndRefusesBadLinesByNumber) {
    std::istringstream good("# a comment\n\n1 move 0 0\n1 ldown -5 2147483647\n  \n7 rdown 10 20\n7 lup 1 1\n"
                            "9 rup -2147483648 0\n");
    std::string error;
    const auto events = parseInputScript(good, error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 5u);
    const ScriptEvent& last = events->back();
    EXPECT_EQ(std::tuple((*events)[1].x, (*events)[1].y, last.frame, last.x), std::tuple(-5, 2147483647, 9, INT32_MIN));
    const MouseAction actions[] = {MouseAction::Move, MouseAction::LeftDown, MouseAction::RightDown,
                                   MouseAction::LeftUp, MouseAction::RightUp};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ((*events)[i].action, actions[i]);
    }

    const std::string bad[] = {"0 move 1 1",   "3 move 1 1\n2 move 1 1", "1 click 1 1",         "1 move 1",
                               "1 move 1 1 1", "1 move 1.5 1",           "1 move 1 2147483648", "1 move 0x10 1"};
    for (const std::string& text : bad) {
        std::istringstream script("# header\n" + text + "\n");
        EXPECT_FALSE(parseInputScript(script, error)) << text;
        const std::string line = text.find('\n') != std::string::npos ? "line 3" : "line 2";
        EXPECT_NE(error.find(line), std::string::npos) << "'" << error << "' for " << text;
    }
}

}  // namespace
}  // namespace qv::headless
