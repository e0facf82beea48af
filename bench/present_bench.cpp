// What presenting a frame costs on the processor: the 448 x 640 back buffer turned into 32-bit
// window pixels at window scales 1 to 3 (each back-buffer pixel a k x k block), whole and only the
// rows that a frame of a game in play wrote; and the widening of rows alone, by each path the
// processor runs, beside a plain copy of the same bytes.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/back_buffer.h"
#include "app/pixel_conversion.h"
#include "app/presentation.h"
#include "game/sand_game.h"
#include "support/mt19937.h"

namespace {

constexpr int32_t kWidth = 448;
constexpr int32_t kHeight = 640;

// The pixels of a window k times the client area, in the layout X servers and streaming textures
// give: 8-bit channels, blue in the low byte.
struct ScaledWindow {
    explicit ScaledWindow(int32_t scale)
        : format(SDL_AllocFormat(SDL_PIXELFORMAT_RGB888), SDL_FreeFormat),
          pixels(static_cast<std::size_t>(kWidth) * 4 * scale * kHeight * scale),
          destination{pixels.data(), kWidth * scale * 4, kWidth * scale, kHeight * scale, format.get()} {}
    std::unique_ptr<SDL_PixelFormat, decltype(&SDL_FreeFormat)> format;
    std::vector<uint8_t> pixels;
    qv::PixelDestination destination;
};

void BM_PresentFrame(benchmark::State& state) {
    const auto scale = static_cast<int32_t>(state.range(0));
    qv::BackBuffer picture;
    picture.createBackBuffer(kWidth, kHeight, 0);
    for (int32_t i = 0; i < picture.rowBytes() * kHeight; ++i) {
        picture.bits[i] = static_cast<uint8_t>(i * 7);
    }
    ScaledWindow window(scale);
    for (auto _ : state) {
        qv::copyPicture(picture, window.destination, scale);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(window.pixels.size()));
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PresentFrame)->Arg(1)->Arg(2)->Arg(3);

// The rows one frame of a game in play writes (a pour every 18 frames, 600 frames in), as the game
// hands them to presenting; run from the pictures' folder.
std::vector<qv::RowSpan> rowsOfAFrameInPlay(qv::BackBuffer& picture) {
    qv::sharedRandom().seed(12345);
    auto game = std::make_unique<qv::SandGame>();
    if (game->initialise() != 1) {
        return {};
    }
    std::vector<qv::RowSpan> rows;
    for (int32_t frame = 0; frame <= 600; ++frame) {
        if (frame % 18 == 0) game->onLButtonDown(60 + frame * 7 % 320, 140);
        game->onFrame();
        rows = game->takeWrittenRows();
    }
    picture.createBackBuffer(kWidth, kHeight, 0);
    std::memcpy(picture.bits, game->backBuffer.bits, static_cast<std::size_t>(picture.rowBytes()) * kHeight);
    return rows;
}

void BM_PresentRowsOfAFrameInPlay(benchmark::State& state) {
    const auto scale = static_cast<int32_t>(state.range(0));
    qv::BackBuffer picture;
    const std::vector<qv::RowSpan> rows = rowsOfAFrameInPlay(picture);
    if (rows.empty()) {
        state.SkipWithError("the game did not start (run from the pictures' folder)");
        return;
    }
    ScaledWindow window(scale);
    for (auto _ : state) {
        benchmark::DoNotOptimize(qv::copyPictureRows(picture, window.destination, scale, rows));
        benchmark::ClobberMemory();
    }
    int32_t written = 0;
    for (const qv::RowSpan& span : rows) written += span.height;
    state.counters["rows"] = written;
    state.counters["spans"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_PresentRowsOfAFrameInPlay)->Arg(1)->Arg(2)->Arg(3);

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
