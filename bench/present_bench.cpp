// Presenting a frame: the 448 x 640 back buffer widened into a 32-bit window surface, by each path
// the processor runs, beside a plain copy of the same bytes; the shell's copy into a surface; and
// the whole presenting of a frame in a window, where there is a display.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/back_buffer.h"
#include "app/pixel_conversion.h"
#include "app/presentation.h"

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

namespace {

qv::BackBuffer patternedPicture() {
    qv::BackBuffer picture;
    picture.createBackBuffer(kWidth, kHeight, 0);
    for (std::size_t i = 0; i < std::size_t{3} * kWidth * kHeight; ++i) picture.bits[i] = static_cast<uint8_t>(i * 7);
    return picture;
}

// The shell's copy of the back buffer into a 32-bit surface of the layout X servers give.
void BM_CopyToSurface(benchmark::State& state) {
    const qv::BackBuffer picture = patternedPicture();
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_RGB888), SDL_FreeSurface);
    if (!surface) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    for (auto _ : state) {
        qv::copyToSurface(picture, *surface);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyToSurface);

// Copying into the window's surface and showing it, as every paint does; needs a display.
void BM_PresentToWindow(benchmark::State& state) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError("no display");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("present-bench", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
    const qv::BackBuffer picture = patternedPicture();
    for (auto _ : state) {
        if (window == nullptr || !qv::presentToWindow(picture, window)) {
            state.SkipWithError("the window has no surface");
            break;
        }
    }
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_PresentToWindow);

}  // namespace
