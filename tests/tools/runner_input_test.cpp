#include <gtest/gtest.h>

#include <string_view>
#include <vector>

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
    EXPECT_EQ(std::tuple(options->moviePath, options->movieEvery), std::tuple("", 2));

    // A replay brings its seed and frames; a movie takes every second frame unless told.
    const std::vector<std::string_view> replay{"--replay", "r.replay", "--movie", "m.webp", "--movie-every", "986895"};
    const auto replayed = parseOptions(replay, error);
    ASSERT_TRUE(replayed) << error;
    EXPECT_EQ(std::tuple(replayed->replayPath, replayed->framesGiven, replayed->moviePath, replayed->movieEvery),
              std::tuple("r.replay", false, "m.webp", 986895));

    const std::pair<std::vector<std::string_view>, std::string_view> bad[] = {
        {{"--frames"}, "--frames"},
        {{"--frames", "-1"}, "--frames"},
        {{"--frames", "12x"}, "12x"},
        {{"--frames", "10", "--seed", "4294967296"}, "--seed"},
        {{"--frames", "10", "--seed", "-3"}, "--seed"},
        {{"--frames", "10", "--picture-every", "0", "--picture-dir", "d"}, "--picture-every"},
        {{"--frames", "10", "--picture-every", "5"}, "--picture-dir"},
        {{"--frames", "10", "--trace", ""}, "--trace"},
        {{"--seed", "1"}, "--frames"},
        {{"--replay", "r", "--seed", "1"}, "--replay"},
        {{"--replay", "r", "--input", "i"}, "--replay"},
        {{"--frames", "1", "--movie-every", "3"}, "--movie"},
        {{"--frames", "1", "--movie", "m", "--movie-every", "0"}, "--movie-every"},
        {{"--frames", "1", "--movie", "m", "--movie-every", "986896"}, "--movie-every"},
    };
    for (const auto& [arguments, named] : bad) {
        EXPECT_FALSE(parseOptions(arguments, error)) << named;
        EXPECT_NE(error.find(named), std::string::npos) << "'" << error << "' should name " << named;
    }
}

}  // namespace
}  // namespace qv::headless
