// What one frame's drawing costs: the background layer (576 row copies of 1,152 bytes) and the
// field over it (13,824 cells, each a tile of four 12-byte rows when it holds a bead).

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "field/sand_field.h"
#include "image/frame_target.h"
#include "image/image_layer.h"

namespace {

constexpr int32_t kWidth = 448;
constexpr int32_t kHeight = 640;

void fillField(qv::SandField& field, int32_t beadsPercent) {
    field.width = qv::SandField::kVisibleWidth;
    field.height = qv::SandField::kVisibleHeight;
    field.cellCount = (field.width + 4) * (field.height + 4);
    for (int32_t pair = 0; pair < 2; ++pair) {
        field.hue[pair] = std::make_unique<uint8_t[]>(field.cellCount);
        field.kind[pair] = std::make_unique<uint8_t[]>(field.cellCount);
        for (int32_t y = 0; y < field.height; ++y) {
            for (int32_t x = 0; x < field.width; ++x) {
                const bool bead = (x * 37 + y * 101) % 100 < beadsPercent;
                field.kind[pair][field.gridIndex(x, y)] = bead ? static_cast<uint8_t>(2 + (x + y) % 4) : 0;
                field.hue[pair][field.gridIndex(x, y)] = static_cast<uint8_t>((x + 2 * y) % 128);
            }
        }
    }
}

void BM_RenderField(benchmark::State& state) {
    qv::SandField field;
    fillField(field, static_cast<int32_t>(state.range(0)));
    std::vector<uint8_t> target(kWidth * 3 * kHeight);
    qv::frameTarget = qv::FrameTarget{target.data(), kWidth * 3, kHeight};
    field.setOrigin(32, 32);
    for (auto _ : state) {
        field.render();
        benchmark::DoNotOptimize(target.data());
    }
    state.counters["cells/s"] =
        benchmark::Counter(13824.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderField)->Arg(0)->Arg(50)->Arg(100);

void BM_DrawBackground(benchmark::State& state) {
    qv::ImageLayer layer;
    auto& image = layer.image;
    image.rowBytes = qv::setHeaders(image.infoHeader, &image.fileHeader, 384, 576, 24);
    image.pixels = std::make_unique<uint8_t[]>(image.infoHeader.imageSize);
    std::vector<uint8_t> target(kWidth * 3 * kHeight);
    qv::frameTarget = qv::FrameTarget{target.data(), kWidth * 3, kHeight};
    layer.setSource(0, 0, 384, 576);
    layer.setPosition(32, 32);
    for (auto _ : state) {
        layer.draw();
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 576 * 1152);
}
BENCHMARK(BM_DrawBackground);

}  // namespace
