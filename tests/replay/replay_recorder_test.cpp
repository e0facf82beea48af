#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "helpers/scratch_folder.h"
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"

namespace qv::replay {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), {});
}

// The columns of a game that shows frame `framesRun` with a score ten times that.
TraceColumns columnsOf(int32_t framesRun) {
    return TraceColumns{framesRun, 10 * framesRun, 1, 2, 0, 0, 1, 300, 5, 0, 0xab, 0xcd};
}

class Recorder : public ::testing::Test {
protected:
    std::unique_ptr<ReplayRecorder> open(const std::string& name, uint32_t seed = 7) {
        std::string error;
        auto recorder = ReplayRecorder::open(folder.in(name), seed, warnings, error);
        EXPECT_TRUE(recorder) << error;
        if (recorder) {
            recorder->takeColumnsFrom(columnsOf);
        }
        return recorder;
    }

    testing::ScratchFolder folder;
    std::ostringstream warnings;
};

// An old file is replaced, and the seed is in it as soon as it opens; an event is in it by the
// end of the frame after it, numbered with the frames run before it plus one, unless it is a move
// that changed nothing. Finishing adds the events since the last frame and that frame's end line.
TEST_F(Recorder, WritesEachEventByTheEndOfTheFrameAfterIt) {
    const std::string path = folder.in("session.replay");
    std::ofstream(path) << std::string(1000, 'x');
    auto recorder = open("session.replay", 1733612345);
    ASSERT_TRUE(recorder);
    std::string expected = "# quorvantile replay 1\n# seed 1733612345\n";
    EXPECT_EQ(contents(path), expected);

    recorder->record(MouseAction::Move, 200, 100);
    recorder->record(MouseAction::LeftDown, 200, 100);
    recorder->frameRan();
    expected += "1 move 200 100\n1 ldown 200 100\n";
    EXPECT_EQ(contents(path), expected);

    recorder->record(MouseAction::Move, 201, 101, true);
    recorder->frameRan();
    recorder->record(MouseAction::LeftUp, -7, 32767);
    recorder->frameRan();
    expected += "3 lup -7 32767\n";
    EXPECT_EQ(contents(path), expected);

    recorder->record(MouseAction::RightDown, 1, 2);
    EXPECT_TRUE(recorder->finish());
    EXPECT_EQ(contents(path), expected + "4 rdown 1 2\n# end " + formatColumns(columnsOf(3)) + "\n");
    EXPECT_EQ(warnings.str(), "");
}

// A session that never finished (a killed game) keeps its events, with no end line.
TEST_F(Recorder, ASessionCutShortKeepsItsEventsWithoutAnEndLine) {
    {
        auto recorder = open("cut.replay");
        ASSERT_TRUE(recorder);
        recorder->record(MouseAction::LeftDown, 5, 5);
        recorder->frameRan();
        recorder->record(MouseAction::Move, 6, 6);
    }
    EXPECT_EQ(contents(folder.in("cut.replay")), replayStartLines(7) + "1 ldown 5 5\n2 move 6 6\n");
}

// Mid-session, the text is what finishing then would leave: the file's lines, the events since the
// last frame and that frame's end line. Recording goes on as if nothing had been asked.
TEST_F(Recorder, TextSoFarIsWhatFinishingNowWouldLeaveWhileRecordingGoesOn) {
    const std::string path = folder.in("session.replay");
    auto recorder = open("session.replay");
    ASSERT_TRUE(recorder);
    recorder->record(MouseAction::LeftDown, 5, 5);
    recorder->frameRan();
    recorder->frameRan();
    recorder->record(MouseAction::RightDown, 6, 6);
    std::string error;
    const std::optional<std::string> text = recorder->textSoFar(error);
    ASSERT_TRUE(text) << error;
    const std::string written = replayStartLines(7) + "1 ldown 5 5\n";
    EXPECT_EQ(*text, written + "3 rdown 6 6\n# end " + formatColumns(columnsOf(2)) + "\n");
    EXPECT_EQ(contents(path), written);

    recorder->frameRan();
    recorder->record(MouseAction::Move, 7, 7);
    recorder->frameRan();
    EXPECT_TRUE(recorder->finish());
    EXPECT_EQ(contents(path), written + "3 rdown 6 6\n4 move 7 7\n# end " + formatColumns(columnsOf(4)) + "\n");
    EXPECT_FALSE(recorder->textSoFar(error));
    EXPECT_EQ(error, "quorvantile: the replay '" + path + "' is no longer recorded");
    EXPECT_EQ(warnings.str(), "");
}

// A file that changed under the recorder holds another session's lines: it gives no text.
TEST_F(Recorder, TextSoFarRefusesAFileChangedUnderIt) {
    const std::string path = folder.in("changed.replay");
    auto recorder = open("changed.replay");
    ASSERT_TRUE(recorder);
    recorder->record(MouseAction::LeftDown, 5, 5);
    recorder->frameRan();
    std::ofstream(path, std::ios::app) << "9 ldown 1 1\n";
    std::string error;
    EXPECT_FALSE(recorder->textSoFar(error));
    EXPECT_EQ(error, "quorvantile: the replay '" + path + "' was changed while it was recorded");
    fs::remove(path);
    EXPECT_FALSE(recorder->textSoFar(error));
    EXPECT_EQ(error, "quorvantile: cannot read back the replay '" + path + "': No such file or directory");
}

// A file that cannot be written is refused at once, naming it and the system's reason; a pipe
// with no reader does not hold the start up waiting for one.
TEST_F(Recorder, RefusesAFileThatCannotBeWritten) {
    fs::create_directory(folder.in("folder"));
    ASSERT_EQ(::mkfifo(folder.in("pipe").c_str(), 0600), 0);
    std::vector<std::pair<std::string, std::string>> cases = {
        {folder.in("folder"), "Is a directory"},
        {folder.in("missing/session.replay"), "No such file or directory"},
        {folder.in("pipe"), "No such device or address"},
        {"/dev/full", "No space left on device"},
    };
    if (::geteuid() != 0) {  // no folder is closed to root
        fs::create_directory(folder.in("closed"));
        fs::permissions(folder.in("closed"), fs::perms::owner_read | fs::perms::owner_exec);
        cases.emplace_back(folder.in("closed/session.replay"), "Permission denied");
    }
    for (const auto& [path, reason] : cases) {
        std::string error;
        EXPECT_FALSE(ReplayRecorder::open(path, 1, warnings, error)) << path;
        EXPECT_EQ(error, "quorvantile: cannot write the replay '" + path + "': " + reason);
    }
    EXPECT_TRUE(fs::is_directory(folder.in("folder")));
}

// When the file stops taking lines (here the process may write no file over 100 bytes), the
// failure is said once and play goes on unrecorded; the file keeps its whole lines and replays.
TEST_F(Recorder, AFailedWriteIsSaidOnceAndLeavesWholeLines) {
    const std::string path = folder.in("full.replay");
    const auto recordPastTheLimit = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t unlimited = limit.rlim_cur;
        limit.rlim_cur = 100;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        std::ostringstream said;
        auto recorder = ReplayRecorder::open(path, 7, said, error);
        for (int32_t frame = 1; recorder && frame <= 10; ++frame) {
            recorder->record(MouseAction::Move, 100 + frame, 200);
            recorder->record(MouseAction::LeftDown, 100 + frame, 200);
            recorder->frameRan();
        }
        const bool finished = recorder && recorder->finish();
        limit.rlim_cur = unlimited;  // the test reads what the child says from a file of its own
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::fprintf(stderr, "%s[finished %d]\n", said.str().c_str(), finished ? 1 : 0);
        std::_Exit(0);
    };
    EXPECT_EXIT(recordPastTheLimit(), ::testing::ExitedWithCode(0),
                "^quorvantile: cannot write the replay '" + path + "': File too large; the game goes on unrecorded\n"
                "\\[finished 0\\]\n$");
    const std::string kept = contents(path);
    std::istringstream input(kept);
    std::string error;
    const auto replay = parseReplay(input, error);
    ASSERT_TRUE(replay) << error << "\n" << kept;
    EXPECT_EQ(replay->events.size(), 4u) << kept;
    EXPECT_FALSE(replay->end);
}

}  // namespace
}  // namespace qv::replay
