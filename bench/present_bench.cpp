// What presenting a frame costs on the processor: the 448 x 640 back buffer turned into 32-bit
// window pixels, at window scales 1 to 3 (each back-buffer pixel a k x k block).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "app/back_buffer.h"
#include "app/presentation.h"

namespace {

constexpr int32_t kWidth = 448;
constexpr int32_t kHeight = 640;

void BM_PresentFrame(benchmark::State& state) {
    const auto scale = static_cast<int32_t>(state.range(0));
    qv::BackBuffer picture;
    picture.createBackBuffer(kWidth, kHeight, 0);
    for (int32_t i = 0; i < picture.rowBytes() * kHeight; ++i) {
        picture.bits[i] = static_cast<uint8_t>(i * 7);
    }
    // The layout X servers and streaming textures give: 8-bit channels, blue in the low byte.
    std::unique_ptr<SDL_PixelFormat, decltype(&SDL_FreeFormat)> format(SDL_AllocFormat(SDL_PIXELFORMAT_RGB888),
                                                                       SDL_FreeFormat);
    const int32_t pitch = kWidth * scale * 4;
    std::vector<uint8_t> window(static_cast<std::size_t>(pitch) * kHeight * scale);
    const qv::PixelDestination destination{window.data(), pitch, kWidth * scale, kHeight * scale, format.get()};
    for (auto _ : state) {
        qv::copyPicture(picture, destination, scale);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(window.size()));
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PresentFrame)->Arg(1)->Arg(2)->Arg(3);

}  // namespace
