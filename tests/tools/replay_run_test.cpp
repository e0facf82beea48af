#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
// the game's seed, the script's events before their frames, the file closed after the last frame.
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

// Rewrites a replay: `edit` gets each line and returns what to keep of it.
template <typename Edit>
void rewrite(const std::string& from, const std::string& to, Edit edit) {
    std::istringstream lines(readFile(from));
    std::ofstream out(to);
    for (std::string line; std::getline(lines, line);) {
        out << edit(line);
    }
}

class ReplayRun : public ::testing::Test {
protected:
    testing::ScratchFolder folder;
};

// A session with a game over and restarts, and one at extreme coordinates, recorded as they are
// played: the runner replays each to the very trace of its golden run, picture hashes included,
// and passes its check; run as a plain script with the seed, the replay gives that trace too.
TEST_F(ReplayRun, RecordedSessionsReplayToTheirGoldenTraces) {
    for (const char* name : {"over_and_restart", "extremes"}) {
        const Options session = goldenSession(goldenFolder() / (std::string(name) + ".input"));
        const std::string path = folder.in(std::string(name) + ".replay");
        recordSession(session, path);
        const std::string golden = readFile(goldenFolder() / (std::string(name) + ".trace"));

        const RunResult replayed = run(replayOf(path));
        EXPECT_EQ(replayed.status, kRunOk) << name << ": " << replayed.errors;
        EXPECT_EQ(replayed.errors, "");
        EXPECT_TRUE(replayed.trace == golden) << name;

        Options asScript = session;
        asScript.inputPath = path;
        EXPECT_TRUE(run(asScript).trace == golden) << name;
    }
}

// A run that does not end as recorded fails, naming the first column that differs; a replay cut
// short runs to its last event (or to --frames) and passes, saying that nothing was checked.
TEST_F(ReplayRun, ChecksTheEndLineAndNamesTheFirstColumnThatDiffers) {
    const std::string whole = folder.in("whole.replay");
    recordSession(goldenSession(goldenFolder() / "over_and_restart.input"), whole);
    const auto endWords = [](const std::string& line) {
        std::istringstream words(line);
        return std::vector<std::string>{std::istream_iterator<std::string>(words), {}};
    };
    const auto changeEnd = [&](std::size_t column, const std::string& value) {
        return [=](const std::string& line) {
            if (line.rfind("# end ", 0) != 0) return line + "\n";
            std::vector<std::string> words = endWords(line);
            words[column + 2] = value;
            std::string changed;
            for (const std::string& word : words) changed += (changed.empty() ? "" : " ") + word;
            return changed + "\n";
        };
    };
    const std::string score = folder.in("score.replay"), view = folder.in("view.replay"), cut = folder.in("cut.replay");
    rewrite(whole, score, changeEnd(1, "123456"));
    rewrite(whole, view, changeEnd(10, "0123456789abcdef"));
    rewrite(whole, cut, [](const std::string& line) { return line.rfind("# end", 0) == 0 ? "" : line + "\n"; });

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

    // The session's last event comes before frame 150.
    const RunResult cutRun = run(replayOf(cut));
    EXPECT_EQ(cutRun.status, kRunOk);
    EXPECT_NE(cutRun.errors.find("has no end line: ran 150 frames"), std::string::npos) << cutRun.errors;
    EXPECT_EQ(cutRun.trace.substr(cutRun.trace.rfind('\n', cutRun.trace.size() - 2) + 1, 4), "150 ");
    Options longer = replayOf(cut);
    longer.frames = 200;
    longer.framesGiven = true;
    EXPECT_NE(run(longer).errors.find("ran 200 frames"), std::string::npos);
}

// A replay that cannot be read is refused before any frame runs, naming the file, the line and
// what is wrong with it.
TEST_F(ReplayRun, RefusesABadReplayByLine) {
    std::ofstream(folder.in("bad.replay")) << "# quorvantile replay 1\n# seed 5\n3 move 1 1\n2 move 1 1\n";
    std::ofstream(folder.in("script.input")) << "1 move 1 1\n";
    const std::pair<std::string, std::string> cases[] = {
        {folder.in("bad.replay"), "bad.replay: line 4: frame 2 comes before frame 3"},
        {folder.in("script.input"), "script.input: line 1: not a replay"},
        {folder.in("missing.replay"), "cannot open the replay '" + folder.in("missing.replay") + "': No such file"},
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
