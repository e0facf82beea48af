// The cost of one whole frame update (the field's steps, scoring and composing the picture) in a
// game being played and in a heavy one, and in one being recorded, beside a plain copy of the bytes
// a frame writes; and the score display drawn over a frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/font.h"
#include "game/sand_game.h"
#include "replay/replay_recorder.h"
#include "support/mt19937.h"

namespace {

// A pour every 18 frames at another place, 600 frames ahead: blended bands and live sparkles, as a
// player plays.
struct Play {
    int32_t framesBetweenPours = 18;
    int32_t warmUpFrames = 600;
    int32_t framesAtOnePlace = 18;
};
// A click every frame, so that pours follow back to back, staying at one place for 60 frames: the
// field fills up, and sparkles keep digging where the colours of the pours meet.
constexpr Play kHeavyPlay{1, 2500, 60};

// A started game (run from the pictures' folder) with a pour sweeping across the field.
class PlayedGame {
public:
    explicit PlayedGame(Play play = Play{}) : play_(play) {
        qv::sharedRandom().seed(12345);
        ok_ = game_->initialise() == 1;
        for (int32_t i = 0; ok_ && i < play_.warmUpFrames; ++i) {
            frame();
        }
    }

    bool ok() const { return ok_; }
    const std::string& error() const { return game_->startUpError; }

    void frame() {
        if (frameNumber_ % play_.framesBetweenPours == 0) {
            static constexpr int32_t kColumns[] = {60, 380, 140, 300, 220, 100, 340, 180, 260};
            const int32_t x = kColumns[(frameNumber_ / play_.framesAtOnePlace) % 9];
            game_->onLButtonDown(x, 140);
        }
        game_->onFrame();
        ++frameNumber_;
    }

    qv::SandGame& game() { return *game_; }
    int64_t beads() const {
        const qv::SandField& field = game_->field;
        return std::count_if(field.backKind(), field.backKind() + field.cellCount, qv::holdsBead);
    }

private:
    Play play_;
    std::unique_ptr<qv::SandGame> game_ = std::make_unique<qv::SandGame>();
    bool ok_ = false;
    int32_t frameNumber_ = 0;
};

void BM_FrameUpdate(benchmark::State& state, Play play) {
    PlayedGame played(play);
    if (!played.ok()) {
        state.SkipWithError(played.error().c_str());
        return;
    }
    int64_t liveSparkles = 0;
    for (auto _ : state) {
        played.frame();
        liveSparkles += played.game().field.liveSparkles;
        benchmark::DoNotOptimize(played.game().backBuffer.bits);
    }
    state.counters["beads"] = static_cast<double>(played.beads());
    state.counters["live_sparkles"] = benchmark::Counter(static_cast<double>(liveSparkles), benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_FrameUpdate, in_play, Play{});
BENCHMARK_CAPTURE(BM_FrameUpdate, heavy, kHeavyPlay);

// The same frames recorded, as `quorvantile --record` plays: the events written out, and the end
// line's columns (the hashes of the field) taken before each press.
void BM_RecordedFrameUpdate(benchmark::State& state) {
    PlayedGame played;
    std::ostringstream warnings;
    std::string error;
    const auto recorder = qv::replay::ReplayRecorder::open("/dev/null", 12345, warnings, error);
    if (!played.ok() || !recorder) {
        state.SkipWithError((played.error() + error).c_str());
        return;
    }
    played.game().recordInto(recorder.get());
    for (auto _ : state) {
        played.frame();
        benchmark::DoNotOptimize(played.game().backBuffer.bits);
    }
    played.game().recordInto(nullptr);
}
BENCHMARK(BM_RecordedFrameUpdate);

// The score display over a frame whose score changes every time, as it does during a combo.
void BM_ScoreText(benchmark::State& state) {
    PlayedGame played;
    if (!played.ok()) {
        state.SkipWithError(played.error().c_str());
        return;
    }
    qv::SandGame& game = played.game();
    qv::DrawContext context(game.backBuffer);
    for (auto _ : state) {
        game.scoreState.score += 7;
        game.onDraw(context);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScoreText);

// What a frame writes at most: the whole back buffer and the front pair of planes.
void BM_PlainCopyOfFrameBytes(benchmark::State& state) {
    constexpr std::size_t kBackBufferBytes = 448 * 3 * 640;
    constexpr std::size_t kPlaneBytes = 100 * 148;
    std::vector<uint8_t> source(kBackBufferBytes + 2 * kPlaneBytes, 7);
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_PlainCopyOfFrameBytes);

}  // namespace
