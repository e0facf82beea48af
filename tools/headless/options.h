#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv::headless {

// What a headless run does, from its command line.
struct Options {
    uint32_t seed = 4357;
    int32_t frames = 0;
    std::string inputPath;    // empty: no input
    std::string tracePath;    // empty: no trace; "-": standard output
    std::string picturePath;  // empty: no final picture
    int32_t pictureEvery = 0;  // 0: no numbered pictures
    std::string pictureDir;
};

inline constexpr std::string_view kUsage =
    "usage: quorvantile-headless --frames F [--seed N] [--input FILE] [--trace FILE|-]\n"
    "                            [--picture FILE.bmp] [--picture-every K --picture-dir DIR]";

// Reads the arguments (without the program name). On a bad option, returns nothing and says why
// in `error`.
std::optional<Options> parseOptions(std::span<const std::string_view> arguments, std::string& error);

}  // namespace qv::headless
