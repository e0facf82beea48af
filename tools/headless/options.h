#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::headless {

// What a headless run does, from its command line.
struct Options {
    static constexpr int32_t kDefaultMovieEvery = 2;

    uint32_t seed = 4357;
    int32_t frames = 0;
    bool framesGiven = false;  // without --frames, a replay's own frames run
    std::string inputPath;    // empty: no input
    std::string replayPath;   // empty: no replay; else the seed, the events and the frames come from it
    std::string tracePath;    // empty: no trace; "-": standard output
    std::string picturePath;  // empty: no final picture
    int32_t pictureEvery = 0;  // 0: no numbered pictures
    std::string pictureDir;
    std::string moviePath;  // empty: no movie
    int32_t movieEvery = kDefaultMovieEvery;
};

inline constexpr std::string_view kUsage =
    "usage: quorvantile-headless --frames F [--seed N] [--input FILE] [OUTPUTS]\n"
    "       quorvantile-headless --replay FILE [--frames F] [OUTPUTS]\n"
    "outputs: [--trace FILE|-] [--picture FILE.bmp] [--picture-every K --picture-dir DIR]\n"
    "         [--movie FILE.webp [--movie-every K]]";

// Reads the arguments (without the program name). On a bad option, returns nothing and says why
// in `error`.
std::optional<Options> parseOptions(std::span<const std::string_view> arguments, std::string& error);

}  // namespace qv::headless
