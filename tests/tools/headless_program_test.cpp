#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// Runs the real program from the pictures' folder.
Outcome runProgram(const std::string& arguments) {
    const char* binary = std::getenv("QV_BINARY_DIR");
    const char* source = std::getenv("QV_SOURCE_DIR");
    if (binary == nullptr || source == nullptr) {
        ADD_FAILURE() << "QV_BINARY_DIR and QV_SOURCE_DIR must be set";
        return {};
    }
    const fs::path program = fs::path(binary) / "tools/headless/quorvantile-headless";
    const fs::path output = fs::temp_directory_path() / ("quorvantile-headless-" + std::to_string(::getpid()));
    const std::string command = "cd '" + (fs::path(source) / "assets").string() + "' && '" + program.string() + "' " +
                                arguments + " >'" + output.string() + "' 2>&1";
    const int raw = std::system(command.c_str());
    std::ifstream input(output);
    std::ostringstream text;
    text << input.rdbuf();
    fs::remove(output);
    return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

TEST(HeadlessProgram, BadOptionsAndScriptLinesExitWithTwoAndSayWhatIsWrong) {
    const fs::path script = fs::temp_directory_path() / ("quorvantile-script-" + std::to_string(::getpid()));
    std::ofstream(script) << "1 move 10 10\n2 jump 1 1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"--frames 5 --speed 3", "--speed"},
        {"--frames 5 --input '" + script.string() + "' --trace -", "line 2"},
    };
    for (const auto& [arguments, named] : cases) {
        const Outcome outcome = runProgram(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_NE(outcome.output.find(named), std::string::npos) << outcome.output;
        EXPECT_EQ(outcome.output.find("# frame"), std::string::npos) << "the run must not start";
    }
    fs::remove(script);
}

TEST(HeadlessProgram, WritesTheTraceAndAPicture) {
    const fs::path picture = fs::temp_directory_path() / ("quorvantile-pic-" + std::to_string(::getpid()) + ".bmp");
    const Outcome outcome = runProgram("--seed 3 --frames 4 --trace - --picture '" + picture.string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    std::istringstream lines(outcome.output);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
    }
    EXPECT_EQ(count, 5) << outcome.output;
    ASSERT_TRUE(fs::exists(picture));
    EXPECT_EQ(fs::file_size(picture), 54u + 448u * 3u * 640u);
    fs::remove(picture);
}

}  // namespace
