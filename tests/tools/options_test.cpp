#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "options.h"

namespace qv::headless {
namespace {

std::optional<Options> parse(std::vector<std::string_view> arguments, std::string& error) {
    return parseOptions(arguments, error);
}

TEST(HeadlessOptions, ReadsEveryOption) {
    std::string error;
    const auto options = parse({"--seed", "4294967295", "--frames", "600", "--input", "in.txt", "--trace", "-",
                                "--picture", "last.bmp", "--picture-every", "10", "--picture-dir", "out"},
                               error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->seed, 4294967295u);
    EXPECT_EQ(options->frames, 600);
    EXPECT_EQ(options->inputPath, "in.txt");
    EXPECT_EQ(options->tracePath, "-");
    EXPECT_EQ(options->picturePath, "last.bmp");
    EXPECT_EQ(options->pictureEvery, 10);
    EXPECT_EQ(options->pictureDir, "out");
}

TEST(HeadlessOptions, RefusesBadOptionsAndNamesThem) {
    struct Case {
        std::vector<std::string_view> arguments;
        std::string_view named;
    };
    const Case cases[] = {
        {{"--frames", "10", "--colour", "red"}, "--colour"},
        {{"--frames"}, "--frames"},
        {{"--frames", "-1"}, "--frames"},
        {{"--frames", "12x"}, "12x"},
        {{"--frames", "10", "--seed", "4294967296"}, "--seed"},
        {{"--frames", "10", "--seed", "-3"}, "--seed"},
        {{"--frames", "10", "--seed", ""}, "--seed"},
        {{"--frames", "10", "--picture-every", "0", "--picture-dir", "d"}, "--picture-every"},
        {{"--frames", "10", "--picture-every", "5"}, "--picture-dir"},
        {{"--frames", "10", "--picture-dir", "d"}, "--picture-every"},
        {{"--frames", "10", "--trace", ""}, "--trace"},
        {{"--seed", "1"}, "--frames"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parse(c.arguments, error)) << c.named;
        EXPECT_NE(error.find(c.named), std::string::npos) << "'" << error << "' should name " << c.named;
    }
}

}  // namespace
}  // namespace qv::headless
