#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <string_view>
#include <vector>

#include "input_file.h"
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

// A line may be 4096 characters long, no longer, however long it is; a refused line is quoted as a
// short excerpt with anything unprintable replaced, never echoed whole.
TEST(InputScript, LongLinesAndRawBytesAreRefusedWithAShortPrintableExcerpt) {
    std::string error;
    const std::string longest = "1 move 3 4" + std::string(4096 - 10, ' ');
    std::istringstream fits("# ok\n" + longest + "\n" + longest);
    const auto events = parseInputScript(fits, error);
    ASSERT_TRUE(events) << error;
    EXPECT_EQ(events->size(), 2u);

    const std::string bad[] = {longest + " ", "#" + std::string(10 << 20, 'x'), std::string(10 << 20, '7'),
                               "1 move \x1b[2J\x07 1", "1 \x1b]0;title\x07 1 1", std::string(5000, '\x01') + "\n1 move 1 1"};
    for (const std::string& text : bad) {
        std::istringstream script("# header\n" + text + "\n");
        EXPECT_FALSE(parseInputScript(script, error)) << text.substr(0, 40);
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error.substr(0, 200);
        EXPECT_LT(error.size(), 200u) << error.substr(0, 200);
        EXPECT_TRUE(std::all_of(error.begin(), error.end(), [](char c) { return c >= ' ' && c <= '~'; }))
            << error.substr(0, 200);
    }
}

// A script that breaks off with a read error midway is not taken for a shorter script: the file
// says why it stopped. Here the script runs into memory that is not there.
TEST(InputFile, ReportsAReadErrorMidway) {
    const long page = ::sysconf(_SC_PAGESIZE);
    auto* pages = static_cast<char*>(::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    const std::string line = "1 move 1 1\n";
    for (long at = 0; at + static_cast<long>(line.size()) <= page; at += static_cast<long>(line.size())) {
        std::memcpy(pages + at, line.data(), line.size());
    }
    ASSERT_EQ(::munmap(pages + page, page), 0);
    const int memory = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(memory, 0);
    ASSERT_EQ(::lseek(memory, reinterpret_cast<off_t>(pages), SEEK_SET), reinterpret_cast<off_t>(pages));
    InputFile file(memory);
    std::istream input(&file);
    std::string error;
    EXPECT_FALSE(parseInputScript(input, error));
    EXPECT_EQ(file.error(), EIO);
    // The whole first page was read: what follows its lines is the zero bytes at the page's end.
    EXPECT_NE(error.find("line " + std::to_string(page / std::ssize(line) + 1) + ":"), std::string::npos) << error;
    ::munmap(pages, page);

    InputFile folder("/");
    std::istream folderInput(&folder);
    EXPECT_TRUE(parseInputScript(folderInput, error) && folder.error() == EISDIR) << std::strerror(folder.error());
}

}  // namespace
}  // namespace qv::headless
