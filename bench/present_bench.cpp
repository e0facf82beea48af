// Presenting a frame: the 448 x 640 back buffer widened into a 32-bit window surface, by each path
// the processor runs, beside a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/pixel_conversion.h"

namespace {

constexpr int32_t kWidth = 448;
constexpr int32_t kHeight = 640;

void BM_WidenFrame(benchmark::State& state) {
    const auto path = static_cast<qv::WideningPath>(state.range(0));
    if (!qv::canRun(path)) {
        state.SkipWithError("this processor lacks the instructions");
        return;
    }
    std::vector<uint8_t> picture(std::size_t{3} * kWidth * kHeight);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint32_t> surface(std::size_t{kWidth} * kHeight);
    for (auto _ : state) {
        for (int32_t row = 0; row < kHeight; ++row) {
            qv::widenRow(picture.data() + std::size_t{3} * kWidth * row, surface.data() + std::size_t{kWidth} * row,
                         kWidth, 0xFF000000u, path);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * surface.size() * 4));
}
BENCHMARK(BM_WidenFrame)
    ->Arg(static_cast<int>(qv::WideningPath::Plain))
    ->Arg(static_cast<int>(qv::WideningPath::Ssse3))
    ->Arg(static_cast<int>(qv::WideningPath::Avx2));

// What the widening writes, copied byte for byte.
void BM_PlainCopyOfSurfaceBytes(benchmark::State& state) {
    std::vector<uint32_t> source(std::size_t{kWidth} * kHeight, 7), target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size() * 4));
}
BENCHMARK(BM_PlainCopyOfSurfaceBytes);

}  // namespace
