#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless_run.h"

namespace qv::headless {
namespace {

namespace fs = std::filesystem;

fs::path sourceDirectory() {
    const char* source = std::getenv("QV_SOURCE_DIR");
    return source != nullptr ? fs::path(source) : fs::path("../..");
}

std::string readFile(const fs::path& path) {
    std::ifstream input(path, std::ios::binary);
    std::ostringstream text;
    text << input.rdbuf();
    return text.str();
}

// Each golden session is a script whose first line says how to run it: "# seed N frames F".
Options sessionOptions(const fs::path& script) {
    std::ifstream input(script);
    std::string hash, seedWord, framesWord;
    Options options;
    input >> hash >> seedWord >> options.seed >> framesWord >> options.frames;
    EXPECT_EQ(seedWord, "seed") << script;
    EXPECT_EQ(framesWord, "frames") << script;
    options.inputPath = fs::absolute(script).string();
    options.tracePath = "-";
    return options;
}

// Runs a session with the pictures' folder as the working directory, as the game runs.
std::string runSession(const Options& options) {
    const fs::path previous = fs::current_path();
    fs::current_path(sourceDirectory() / "assets");
    std::ostringstream trace, errors;
    const int status = runHeadless(options, trace, errors);
    fs::current_path(previous);
    EXPECT_EQ(status, kRunOk) << errors.str();
    return trace.str();
}

std::vector<fs::path> goldenScripts() {
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(sourceDirectory() / "tests/tools/golden")) {
        if (entry.path().extension() == ".input") {
            scripts.push_back(entry.path());
        }
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

TEST(GoldenTraces, RunnerReproducesEveryRecordedSession) {
    const auto scripts = goldenScripts();
    ASSERT_GE(scripts.size(), 3u);
    const bool update = std::getenv("QV_UPDATE_GOLDEN") != nullptr;
    for (const fs::path& script : scripts) {
        const std::string trace = runSession(sessionOptions(script));
        fs::path golden = script;
        golden.replace_extension(".trace");
        if (update) {
            std::ofstream(golden, std::ios::binary) << trace;
            continue;
        }
        const std::string expected = readFile(golden);
        ASSERT_FALSE(expected.empty()) << golden << " is missing";
        // Compare line by line so that a failure names the first frame that differs.
        std::istringstream actualLines(trace), expectedLines(expected);
        std::string actualLine, expectedLine;
        int line = 0;
        while (std::getline(expectedLines, expectedLine)) {
            ++line;
            ASSERT_TRUE(std::getline(actualLines, actualLine)) << script.filename() << " ends early at line " << line;
            ASSERT_EQ(actualLine, expectedLine) << script.filename() << " line " << line;
        }
        EXPECT_FALSE(std::getline(actualLines, actualLine)) << script.filename() << " runs longer than recorded";
    }
}

}  // namespace
}  // namespace qv::headless
