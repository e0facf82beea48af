#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "headless_run.h"

namespace qv::headless {

// A folder the test runner names in the environment; the source folder's layout when it does not.
inline std::filesystem::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return std::filesystem::absolute(value != nullptr ? std::filesystem::path(value) : std::filesystem::path("../.."));
}

inline std::filesystem::path goldenFolder() { return fromEnvironment("QV_SOURCE_DIR") / "tests/tools/golden"; }
inline std::filesystem::path assetsFolder() { return fromEnvironment("QV_SOURCE_DIR") / "assets"; }

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), {});
}

// A golden session's script, whose first line says how to run it: "# seed N frames F".
inline Options goldenSession(const std::filesystem::path& script) {
    Options options;
    std::string hash, seedWord, framesWord;
    std::ifstream(script) >> hash >> seedWord >> options.seed >> framesWord >> options.frames;
    options.framesGiven = true;
    options.inputPath = script.string();
    return options;
}

}  // namespace qv::headless
