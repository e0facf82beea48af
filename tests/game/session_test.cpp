// The desktop game's sessions as the command line chooses them: a replay to watch, a file to
// record into, and the seed, wired through start-up on the tests' invisible video driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "game/frame_columns.h"
#include "game/session_choice.h"
#include "game_fixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path) {
    std::ifstream input(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(input), {});
}

replay::Replay parsed(const std::string& path) {
    std::ifstream input(path);
    std::string error;
    std::optional<replay::Replay> replay = replay::parseReplay(input, error);
    EXPECT_TRUE(replay) << error << "\n" << contents(path);
    return replay.value_or(replay::Replay{});
}

// Every start-up runs in the pictures' folder, with a lock folder of its own.
class Session : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        fs::create_directory(runtime());
        setenv("XDG_RUNTIME_DIR", runtime().c_str(), 1);
    }

    std::unique_ptr<SandGame> gameFor(const CommandLine& options) {
        auto game = std::make_unique<SandGame>();
        game->programName = kProgramName;
        std::string error;
        EXPECT_TRUE(chooseSession(*game, options, error)) << error;
        return game;
    }

    std::string runtime() const { return scratch.in("runtime"); }

    testing::ScratchFolder scratch;
    testing::WorkingDirectory inAssets{testing::assetsDirectory()};
};

// A game recorded while it watches a replay writes the replay again: its seed, its events before
// the same frames, then the player's. The mouse is the replay's until its last frame has run, and
// the file's end line is what a run of the file from its seed shows.
TEST_F(Session, WatchingAReplayWhileRecordingWritesItAgainWithThePlayersEventsAfter) {
    const std::string watched = scratch.in("watched.replay");
    std::ofstream(watched) << "# quorvantile replay 1\n# seed 4242\n"
                              "3 move 200 300\n3 ldown 200 300\n3 lup 200 300\n40 rdown 10 10\n45 ldown 100 100\n"
                              "60 move 300 120\n";
    CommandLine options;
    options.replayPath = watched;
    options.recordPath = scratch.in("again.replay");
    const auto game = gameFor(options);
    EXPECT_EQ(game->seed, 4242u);
    ASSERT_TRUE(game->startUp("")) << game->startUpError;
    for (int32_t frame = 1; frame <= 60; ++frame) {
        EXPECT_TRUE(game->replaying()) << "before frame " << frame;
        game->onFrame();
    }
    EXPECT_FALSE(game->replaying());
    game->onLButtonDown(250, 400);  // the player's, before frame 61
    game->onFrame();
    game->shutDown();

    replay::Replay again = parsed(options.recordPath);
    replay::Replay expected = parsed(watched);
    expected.events.push_back({61, replay::MouseAction::LeftDown, 250, 400});
    EXPECT_EQ(again.seed, 4242u);
    EXPECT_EQ(again.events, expected.events);
    ASSERT_TRUE(again.end);
    EXPECT_EQ(again.end->frame, 61);

    sharedRandom().seed(again.seed);
    SandGame rerun;
    ASSERT_EQ(rerun.initialise(), 1) << rerun.startUpError;
    const ReplayPlayer player(again);
    for (int32_t frame = 1; frame <= 61; ++frame) {
        player.beforeFrame(frame, rerun);
        rerun.onFrame();
    }
    EXPECT_EQ(replay::firstDifference(*again.end, frameColumns(61, rerun)), std::nullopt);
}

// A replay that cannot be played is refused before start-up, in one line naming the file and why:
// the system's reason, or the line of it that is wrong.
TEST_F(Session, AReplayThatCannotBePlayedIsRefusedNamingTheFileAndWhy) {
    const std::string disordered = scratch.in("disordered.replay");
    std::ofstream(disordered) << "# quorvantile replay 1\n# seed 1\n5 move 1 1\n4 move 1 1\n";
    const std::string empty = scratch.in("empty.replay");
    std::ofstream(empty) << "";
    const struct {
        std::string path;
        std::string says;
    } cases[] = {
        {scratch.in("missing.replay"), "No such file or directory"},
        {scratch.path().string(), "Is a directory"},
        {disordered, "line 4: frame 4 comes before frame 5: '4 move 1 1'"},
        {empty, "not a replay"},
    };
    for (const auto& c : cases) {
        SandGame game;
        CommandLine options;
        options.replayPath = c.path;
        std::string error;
        EXPECT_FALSE(chooseSession(game, options, error)) << c.path;
        EXPECT_TRUE(error.starts_with("quorvantile: cannot play the replay '" + c.path + "': " + c.says)) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

// A file that cannot be written stops the start-up before the window opens, with the reason; a
// second copy, refused the lock, leaves the first one's recording as it was.
TEST_F(Session, ARecordingIsTakenOverOnlyByTheCopyThatRunsAndOnlyWhenItCanBeWritten) {
    CommandLine intoFolder;
    intoFolder.recordPath = scratch.path().string();
    const auto refused = gameFor(intoFolder);
    EXPECT_FALSE(refused->startUp(""));
    EXPECT_EQ(refused->window, nullptr);
    EXPECT_EQ(refused->startUpError, "quorvantile: cannot write the replay '" + intoFolder.recordPath + "': Is a directory");
    refused->shutDown();

    CommandLine options;
    options.recordPath = scratch.in("first.replay");
    const auto first = gameFor(options);
    ASSERT_TRUE(first->startUp("")) << first->startUpError;
    first->onLButtonDown(200, 300);
    first->onFrame();
    const std::string recorded = contents(options.recordPath);
    EXPECT_NE(recorded.find("\n1 ldown 200 300\n"), std::string::npos) << recorded;

    const auto second = gameFor(options);
    EXPECT_FALSE(second->startUp(""));
    EXPECT_NE(second->startUpError.find("another copy"), std::string::npos) << second->startUpError;
    EXPECT_EQ(contents(options.recordPath), recorded);
}

}  // namespace
}  // namespace qv
