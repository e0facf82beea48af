#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "game/replay_player.h"
#include "game/sand_game.h"
#include "helpers/scratch_folder.h"
#include "replay/replay_recorder.h"
#include "runner_files.h"
#include "support/mt19937.h"

namespace qv::headless {
namespace {

namespace fs = std::filesystem;

// Plays a golden session into a game that records it, as a shell does: the recorder opened with
// the game's seed, the script's events before their frames, and the file closed after the last
// frame and one more press, which the end line must not see.
void recordSession(const Options& session, const std::string& path) {
    std::ifstream scriptFile(session.inputPath);
    std::string error;
    auto events = replay::parseInputScript(scriptFile, error);
    ASSERT_TRUE(events) << error;
    const ReplayPlayer script(replay::Replay{session.seed, std::move(*events), std::nullopt});
    const testing::WorkingDirectory inAssets(assetsFolder());
    auto game = std::make_unique<SandGame>();
    sharedRandom().seed(session.seed);
    ASSERT_EQ(game->initialise(), 1) << game->startUpError;
    std::ostringstream warnings;
    auto recorder = replay::ReplayRecorder::open(path, session.seed, warnings, error);
    ASSERT_TRUE(recorder) << error;
    game->recordInto(recorder.get());
    for (int32_t frame = 1; frame <= session.frames; ++frame) {
        script.beforeFrame(frame, *game);
        game->onFrame();
    }
    game->onLButtonDown(300, 300);
    ASSERT_TRUE(recorder->finish()) << warnings.str();
}

struct RunResult {
    int status = 0;
    std::string trace;
    std::string errors;
};

RunResult run(Options options) {
    options.tracePath = "-";
    const testing::WorkingDirectory inAssets(assetsFolder());
    std::ostringstream trace, errors;
    const int status = runHeadless(options, trace, errors);
    return {status, trace.str(), errors.str()};
}

Options replayOf(const std::string& path) {
    Options options;
    options.replayPath = path;
    return options;
}

// A copy of the replay at `from` whose end line is changed by `change`, or left out without one.
std::string withEnd(const std::string& from, const std::string& to,
                    const std::function<void(std::optional<replay::TraceColumns>&)>& change) {
    std::ifstream input(from);
    std::string error;
    auto played = replay::parseReplay(input, error);
    EXPECT_TRUE(played) << error;
    change(played->end);
    std::string text = replay::replayStartLines(played->seed);
    for (const replay::ScriptEvent& event : played->events) {
        text += replay::eventLine(event);
    }
    std::ofstream(to) << text << (played->end ? replay::endLine(*played->end) : "");
    return to;
}

class ReplayRun : public ::testing::Test {
protected:
    testing::ScratchFolder folder;
};

// A session with a game over and restarts, and one at extreme coordinates, recorded as they are
// played: the runner replays each to the very trace of its golden run, picture hashes (and so the
// cursor) included, and passes its check, though the replay leaves out the moves that changed
// nothing; run as a plain script with the seed, the replay gives that trace too.
TEST_F(ReplayRun, RecordedSessionsReplayToTheirGoldenTraces) {
    const auto moves = [](const std::string& text) {
        std::size_t count = 0;
        for (std::size_t at = text.find(" move "); at != std::string::npos; at = text.find(" move ", at + 1)) ++count;
        return count;
    };
    std::size_t movesRecorded = 0, movesScripted = 0;
    for (const char* name : {"over_and_restart", "extremes"}) {
        const Options session = goldenSession(goldenFolder() / (std::string(name) + ".input"));
        const std::string path = folder.in(std::string(name) + ".replay");
        recordSession(session, path);
        const std::string golden = readFile(goldenFolder() / (std::string(name) + ".trace"));
        movesRecorded += moves(readFile(path));
        movesScripted += moves(readFile(session.inputPath));

        const RunResult replayed = run(replayOf(path));
        EXPECT_EQ(replayed.status, kRunOk) << name << ": " << replayed.errors;
        EXPECT_EQ(replayed.errors, "");
        EXPECT_TRUE(replayed.trace == golden) << name;

        Options asScript = session;
        asScript.inputPath = path;
        EXPECT_TRUE(run(asScript).trace == golden) << name;
    }
    EXPECT_LT(movesRecorded, movesScripted);
}

// A run that does not end as recorded fails, naming the first column that differs; a replay cut
// short runs to its last event (or to --frames) and passes, saying that nothing was checked.
TEST_F(ReplayRun, ChecksTheEndLineAndNamesTheFirstColumnThatDiffers) {
    const std::string whole = folder.in("whole.replay");
    recordSession(goldenSession(goldenFolder() / "over_and_restart.input"), whole);
    const std::string score = withEnd(whole, folder.in("score.replay"), [](auto& end) { end->score = 123456; });
    const std::string view = withEnd(whole, folder.in("view.replay"), [](auto& end) { end->viewHash = 0x0123456789abcdef; });
    const std::string cut = withEnd(whole, folder.in("cut.replay"), [](auto& end) { end.reset(); });

    const RunResult scoreRun = run(replayOf(score));
    EXPECT_EQ(scoreRun.status, kRunFailed);
    EXPECT_NE(scoreRun.errors.find(": the run does not end as recorded: score is "), std::string::npos) << scoreRun.errors;
    EXPECT_NE(scoreRun.errors.find(", the replay's end line says 123456\n"), std::string::npos) << scoreRun.errors;
    const RunResult viewRun = run(replayOf(view));
    EXPECT_EQ(viewRun.status, kRunFailed);
    EXPECT_NE(viewRun.errors.find("view_hash is "), std::string::npos) << viewRun.errors;
    Options shorter = replayOf(whole);
    shorter.frames = 100;
    shorter.framesGiven = true;
    const RunResult shorterRun = run(shorter);
    EXPECT_EQ(shorterRun.status, kRunFailed);
    EXPECT_NE(shorterRun.errors.find("frame is 100, the replay's end line says 240"), std::string::npos) << shorterRun.errors;

    // The session's last event is the press after its 240 frames.
    const RunResult cutRun = run(replayOf(cut));
    EXPECT_EQ(cutRun.status, kRunOk);
    EXPECT_NE(cutRun.errors.find("has no end line: ran 241 frames"), std::string::npos) << cutRun.errors;
    EXPECT_EQ(cutRun.trace.substr(cutRun.trace.rfind('\n', cutRun.trace.size() - 2) + 1, 4), "241 ");
    Options longer = replayOf(cut);
    longer.frames = 200;
    longer.framesGiven = true;
    EXPECT_NE(run(longer).errors.find("ran 200 frames"), std::string::npos);
}

// A replay that cannot be read is refused before any frame runs, naming the file, the line and
// what is wrong with it; a plain script is not a replay.
TEST_F(ReplayRun, RefusesABadReplayByLine) {
    std::ofstream(folder.in("bad.replay")) << "# quorvantile replay 1\n# seed 5\n3 move 1 1\n2 move 1 1\n";
    std::ofstream(folder.in("script.input")) << "1 move 1 1\n";
    const std::pair<std::string, std::string> cases[] = {
        {folder.in("bad.replay"), "bad.replay: line 4: frame 2 comes before frame 3"},
        {folder.in("script.input"), "script.input: line 1: not a replay"},
    };
    for (const auto& [path, says] : cases) {
        const RunResult refused = run(replayOf(path));
        EXPECT_EQ(refused.status, kBadInvocation) << path;
        EXPECT_NE(refused.errors.find(says), std::string::npos) << refused.errors;
        EXPECT_EQ(refused.trace, "") << "no frame runs";
    }
}

}  // namespace
}  // namespace qv::headless
