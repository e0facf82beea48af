// The cost of one whole frame update (the field's steps, scoring and composing the picture) in a
// game being played, beside a plain copy of the bytes a frame writes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/sand_game.h"
#include "support/mt19937.h"

namespace {

constexpr int32_t kFramesBetweenPours = 18;
constexpr int32_t kWarmUpFrames = 600;  // enough pours for blended bands and live sparkles

// A started game (run from the pictures' folder) with a pour sweeping across the field every few frames.
class PlayedGame {
public:
    PlayedGame() {
        qv::sharedRandom().seed(12345);
        ok_ = game_->initialise() == 1;
        for (int32_t i = 0; i < kWarmUpFrames; ++i) {
            frame();
        }
    }

    bool ok() const { return ok_; }
    const std::string& error() const { return game_->startUpError; }

    void frame() {
        if (frameNumber_ % kFramesBetweenPours == 0) {
            static constexpr int32_t kColumns[] = {60, 380, 140, 300, 220, 100, 340, 180, 260};
            const int32_t x = kColumns[(frameNumber_ / kFramesBetweenPours) % 9];
            game_->onLButtonDown(x, 140);
        }
        game_->onFrame();
        ++frameNumber_;
    }

    qv::SandGame& game() { return *game_; }

private:
    std::unique_ptr<qv::SandGame> game_ = std::make_unique<qv::SandGame>();
    bool ok_ = false;
    int32_t frameNumber_ = 0;
};

void BM_FrameUpdate(benchmark::State& state) {
    PlayedGame played;
    if (!played.ok()) {
        state.SkipWithError(played.error().c_str());
        return;
    }
    for (auto _ : state) {
        played.frame();
        benchmark::DoNotOptimize(played.game().backBuffer.bits);
    }
    state.counters["live_sparkles"] = played.game().field.liveSparkles;
}
BENCHMARK(BM_FrameUpdate);

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
