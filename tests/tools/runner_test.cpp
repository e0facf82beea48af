#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless_run.h"
#include "helpers/scratch_folder.h"
#include "runner_files.h"

namespace qv::headless {
namespace {

namespace fs = std::filesystem;

// Each golden session runs with the pictures' folder as the working directory, as the game does.
std::string runSession(const fs::path& script) {
    Options options = goldenSession(script);
    options.tracePath = "-";
    const testing::WorkingDirectory inAssets(assetsFolder());
    std::ostringstream trace, errors;
    EXPECT_EQ(runHeadless(options, trace, errors), kRunOk) << errors.str();
    return trace.str();
}

// Set QV_UPDATE_GOLDEN to record the traces anew after a deliberate change of behaviour.
TEST(GoldenTraces, RunnerReproducesEveryRecordedSession) {
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(goldenFolder())) {
        if (entry.path().extension() == ".input") {
            scripts.push_back(entry.path());
        }
    }
    ASSERT_GE(scripts.size(), 3u);
    for (const fs::path& script : scripts) {
        const fs::path golden = fs::path(script).replace_extension(".trace");
        const std::string trace = runSession(script);
        if (std::getenv("QV_UPDATE_GOLDEN") != nullptr) {
            std::ofstream(golden, std::ios::binary) << trace;
            continue;
        }
        // Line by line, so that a failure names the first frame that differs.
        std::istringstream actual(trace), expected(readFile(golden));
        std::string actualLine, expectedLine;
        for (int line = 1; std::getline(expected, expectedLine); ++line) {
            ASSERT_TRUE(std::getline(actual, actualLine)) << script.filename() << " ends early at line " << line;
            ASSERT_EQ(actualLine, expectedLine) << script.filename() << " line " << line;
        }
        EXPECT_FALSE(std::getline(actual, actualLine)) << script.filename() << " runs longer than recorded";
    }
}

// The real program, from the pictures' folder: its exit status and what it printed.
std::pair<int, std::string> runProgram(const std::string& arguments) {
    const testing::ScratchFolder scratch;
    const fs::path output = scratch.path() / "printed";
    const std::string command = "cd '" + (fromEnvironment("QV_SOURCE_DIR") / "assets").string() + "' && '" +
                                (fromEnvironment("QV_BINARY_DIR") / "tools/headless/quorvantile-headless").string() +
                                "' " + arguments + " >'" + output.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(output)};
}

// A bad invocation ends with status 2, a script that cannot be read or a trace or picture that cannot
// be written with 1; each says why, naming the option or file and the system's reason, and traces no
// frame. What the run was given to write to stays where it is. A good run traces every frame and
// writes its pictures, making their folder.
TEST(HeadlessProgram, SaysWhyARunFailedAndWritesTraceAndPicturesOfAGoodOne) {
    const testing::ScratchFolder scratch;
    const fs::path& folder = scratch.path();
    fs::create_directories(folder / "frames");
    const std::string script = (folder / "script").string(), full = (folder / "full.bmp").string();
    std::ofstream(script) << "1 move 10 10\n2 jump 1 1\n";
    fs::create_symlink("/dev/full", full);
    const fs::path picture = folder / "picture.bmp", made = folder / "made/by/the/run";
    const std::tuple<std::string, int, std::string> cases[] = {
        // arguments, status, what it says
        {"--frames 5 --speed 3", 2, "--speed"},
        {"--frames 5 --trace - --input '" + script + "'", 2, "line 2"},
        {"--frames 5 --trace - --input /proc/self/mem", 1,
         "cannot read the input script '/proc/self/mem': Input/output error"},
        {"--frames 30 --trace '" + full + "' --picture-every 1 --picture-dir '" + (folder / "frames").string() + "'", 1,
         "cannot write the trace '" + full + "': No space left on device"},
        {"--frames 3 --picture '" + full + "'", 1, "cannot write " + full + ": No space left on device"},
        {"--frames 3 --movie '" + (folder / "frames").string() + "'", 1, "cannot write the movie '" + (folder / "frames").string() + "': Is a directory"},
        {"--frames 3 --movie '" + full + "' --movie-every 4", 2, "the movie would have no frame: the run has 3 frames"},
        {"--frames 3 --movie '" + full + "'", 1, "cannot write the movie '" + full + "': No space left on device"},
        {"--seed 3 --frames 4 --trace - --picture '" + picture.string() + "' --picture-every 2 --picture-dir '" +
             made.string() + "'",
         0, "\n4 "},
    };
    for (const auto& [arguments, expectedStatus, says] : cases) {
        const auto [status, printed] = runProgram(arguments);
        EXPECT_EQ(status, expectedStatus) << arguments << "\n" << printed;
        EXPECT_NE(printed.find(says), std::string::npos) << printed;
        EXPECT_EQ(printed.find("# frame") != std::string::npos, status == 0) << arguments;
    }
    EXPECT_TRUE(fs::is_empty(folder / "frames")) << "no frame runs after the trace failed";
    EXPECT_TRUE(fs::is_symlink(full));
    for (const fs::path& written : {picture, made / "frame-000002.bmp", made / "frame-000004.bmp"}) {
        EXPECT_TRUE(fs::exists(written) && fs::file_size(written) == 54u + 448u * 3u * 640u) << written;
    }
}

}  // namespace
}  // namespace qv::headless
