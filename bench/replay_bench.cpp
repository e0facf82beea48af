// How big a replay of ten minutes of play is, with the moves that change nothing left out and with
// every move kept. The play is scripted as a hand moves a mouse: strokes towards random points with
// two motion events a frame (a 125 Hz mouse at the game's 59 frames a second), rests without any,
// a pour every one to two seconds, and every three minutes a game ended and started again.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "game/sand_game.h"
#include "replay/replay_recorder.h"
#include "support/mt19937.h"

namespace {

constexpr int32_t kTenMinutesOfFrames = 35300;  // 600 s at 17 ms a frame

class ScriptedHand {
public:
    // The mouse events a hand makes before frame `frame`; returns how many it made.
    int beforeFrame(int32_t frame, qv::SandGame& game) {
        int events = 0;
        if (framesLeft_ == 0) {
            startStrokeOrRest();
        }
        --framesLeft_;
        if (moving_) {
            for (int step = 0; step < kEventsPerFrame; ++step, ++events) {
                x_ += (targetX_ - x_) / std::max(1, framesLeft_ * kEventsPerFrame + kEventsPerFrame - step);
                y_ += (targetY_ - y_) / std::max(1, framesLeft_ * kEventsPerFrame + kEventsPerFrame - step);
                game.onMouseMove(x_, y_);
            }
        }
        if (frame >= nextPour_) {
            game.onLButtonDown(x_, y_);
            game.onLButtonUp(x_, y_);
            events += 2;
            nextPour_ = frame + pick(60, 120);
        }
        if (frame % kFramesBetweenGames == 0) {
            game.onRButtonDown(x_, y_);
            game.onRButtonUp(x_, y_);
            events += 2;
        }
        return events;
    }

private:
    static constexpr int kEventsPerFrame = 2;
    static constexpr int32_t kFramesBetweenGames = 3 * 60 * 1000 / 17;

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void startStrokeOrRest() {
        moving_ = !moving_;
        framesLeft_ = moving_ ? pick(10, 60) : pick(5, 60);
        targetX_ = pick(0, qv::SandGame::kClientWidth - 1);
        targetY_ = pick(0, qv::SandGame::kClientHeight - 1);
    }

    std::mt19937 random_{2026};
    bool moving_ = false;
    int framesLeft_ = 0;
    int32_t x_ = 224, y_ = 320, targetX_ = 224, targetY_ = 320;
    int32_t nextPour_ = 30;
};

void BM_RecordTenMinutes(benchmark::State& state, bool keepIdleMoves) {
    std::string path = (std::filesystem::temp_directory_path() / "quorvantile-bench-XXXXXX").string();
    const int descriptor = ::mkstemp(path.data());
    if (descriptor < 0) {
        state.SkipWithError("cannot make a temporary file");
        return;
    }
    ::close(descriptor);
    int64_t events = 0;
    for (auto _ : state) {
        auto game = std::make_unique<qv::SandGame>();
        qv::sharedRandom().seed(1733612345);
        std::ostringstream warnings;
        std::string error;
        auto recorder = qv::replay::ReplayRecorder::open(path, 1733612345, warnings, error);
        if (game->initialise() == 0 || !recorder) {
            state.SkipWithError((game->startUpError + error).c_str());
            break;
        }
        recorder->keepIdleMoves = keepIdleMoves;
        game->recordInto(recorder.get());
        ScriptedHand hand;
        events = 0;
        for (int32_t frame = 1; frame <= kTenMinutesOfFrames; ++frame) {
            events += hand.beforeFrame(frame, *game);
            game->onFrame();
        }
        if (!recorder->finish()) {
            state.SkipWithError(warnings.str().c_str());
        }
    }
    state.counters["events"] = static_cast<double>(events);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_RecordTenMinutes, idle_moves_left_out, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_RecordTenMinutes, every_move_kept, true)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
