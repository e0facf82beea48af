// The desktop game's session as the command line chooses it: a replay to watch, a file to record
// into, and the seed, wired through start-up on the tests' invisible video driver. (Files that
// cannot be read or written are refused in the end-to-end test of replays.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "game/frame_columns.h"
#include "game/session_choice.h"
#include "game_fixture.h"

namespace qv {
namespace {

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
        std::filesystem::create_directory(runtime());
        setenv("XDG_RUNTIME_DIR", runtime().c_str(), 1);
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
    const auto game = std::make_unique<SandGame>();
    std::string error;
    ASSERT_TRUE(chooseSession(*game, options, error)) << error;
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

}  // namespace
}  // namespace qv
