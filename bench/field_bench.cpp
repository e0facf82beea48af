// Time per frame of each step of the field, for three fields a player meets: an empty one, one in
// mid-pour and a full one of mixed hues with live sparkles. A memcpy of the four planes runs in
// the same program as the yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "field/sand_field.h"
#include "support/mt19937.h"

namespace qv {
namespace {

enum class Scenario { Empty, MidPour, Full };
enum class Step { Pour, Gravity, Diffuse, Carve, AllFour };

// Everything a frame changes, so that every timed iteration starts from the same field.
struct Snapshot {
    std::vector<uint8_t> planes;
    bool pouring = false;
    int32_t pourCount = 0;
    int32_t front = 0;
    int32_t diffuseCounter = 0;
    std::array<Sparkle, SandField::kSparkleSlots> sparkles{};

    void capture(const SandField& field) {
        const auto bytes = static_cast<std::size_t>(field.cellCount);
        planes.resize(4 * bytes);
        std::memcpy(planes.data(), field.hue[0].get(), bytes);
        std::memcpy(planes.data() + bytes, field.hue[1].get(), bytes);
        std::memcpy(planes.data() + 2 * bytes, field.kind[0].get(), bytes);
        std::memcpy(planes.data() + 3 * bytes, field.kind[1].get(), bytes);
        pouring = field.pouring;
        pourCount = field.pourCount;
        front = field.front;
        diffuseCounter = field.diffuseCounter;
        sparkles = field.sparkles;
    }

    void restore(SandField& field) const {
        const auto bytes = static_cast<std::size_t>(field.cellCount);
        std::memcpy(field.hue[0].get(), planes.data(), bytes);
        std::memcpy(field.hue[1].get(), planes.data() + bytes, bytes);
        std::memcpy(field.kind[0].get(), planes.data() + 2 * bytes, bytes);
        std::memcpy(field.kind[1].get(), planes.data() + 3 * bytes, bytes);
        field.pouring = pouring;
        field.pourCount = pourCount;
        field.front = front;
        field.diffuseCounter = diffuseCounter;
        field.sparkles = sparkles;
    }
};

void runFrame(SandField& field) {
    field.advance();
    field.front = 1 - field.front;  // as rendering does
}

void startEndlessPour(SandField& field, int32_t x, int32_t y, int32_t hue) {
    field.pendingX = x;
    field.pendingY = y;
    field.pouring = true;
    field.pourCount = 0;
    field.pourLimit = 1 << 30;  // keeps pouring for as long as the benchmark runs
    field.pourHue = hue;
}

void fillWithSteepRamp(SandField& field) {
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            const int32_t cell = field.gridIndex(x, y);
            field.backHue()[cell] = static_cast<uint8_t>((20 * x + 40 * y + (sharedRandom().next() & 3)) & 127);
            field.backKind()[cell] = static_cast<uint8_t>(kFirstBead + (sharedRandom().next() & 3));
        }
    }
}

void prepare(SandField& field, Scenario scenario) {
    sharedRandom().seed(1234);
    field.allocate();
    field.reset();
    switch (scenario) {
        case Scenario::Empty:
            break;
        case Scenario::MidPour:
            startEndlessPour(field, 48, 30, 20);
            for (int frame = 0; frame < 12; ++frame) runFrame(field);
            break;
        case Scenario::Full:
            fillWithSteepRamp(field);
            startEndlessPour(field, 48, 72, 90);  // the disc finds no room: pour only scans
            field.diffuseCounter = field.diffusePeriod - 1;
            field.diffuse();  // arms the sparkles
            field.carve();
            std::memcpy(field.backKind(), field.frontKind(), static_cast<std::size_t>(field.cellCount));
            std::memcpy(field.backHue(), field.frontHue(), static_cast<std::size_t>(field.cellCount));
            break;
    }
    // Diffusion is timed on its sweeping frame, the costly one of the two it alternates between.
    field.diffuseCounter = field.diffusePeriod - 1;
}

void runStep(SandField& field, Step step) {
    switch (step) {
        case Step::Pour: benchmark::DoNotOptimize(field.pour()); break;
        case Step::Gravity: field.gravityStep(); break;
        case Step::Diffuse: field.diffuse(); break;
        case Step::Carve: field.carve(); break;
        case Step::AllFour: runFrame(field); break;
    }
}

void fieldStep(benchmark::State& state, Scenario scenario, Step step) {
    SandField field;
    prepare(field, scenario);
    field.pourX = field.pendingX;
    field.pourY = field.pendingY;
    Snapshot snapshot;
    snapshot.capture(field);
    int64_t liveSparkles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        snapshot.restore(field);
        state.ResumeTiming();
        runStep(field, step);
        benchmark::ClobberMemory();
        liveSparkles = field.liveSparkles;
    }
    int32_t beads = 0;
    snapshot.restore(field);
    for (int32_t i = 0; i < field.cellCount; ++i) beads += holdsBead(field.backKind()[i]) ? 1 : 0;
    state.counters["beads"] = beads;
    state.counters["sparkles"] = static_cast<double>(liveSparkles);
}

void copyFourPlanes(benchmark::State& state) {
    SandField field;
    prepare(field, Scenario::Full);
    std::vector<uint8_t> target(4 * static_cast<std::size_t>(field.cellCount));
    const auto bytes = static_cast<std::size_t>(field.cellCount);
    for (auto _ : state) {
        std::memcpy(target.data(), field.hue[0].get(), bytes);
        std::memcpy(target.data() + bytes, field.hue[1].get(), bytes);
        std::memcpy(target.data() + 2 * bytes, field.kind[0].get(), bytes);
        std::memcpy(target.data() + 3 * bytes, field.kind[1].get(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(target.size()));
}

const bool registered = [] {
    const std::pair<const char*, Scenario> scenarios[] = {
        {"empty", Scenario::Empty}, {"mid_pour", Scenario::MidPour}, {"full", Scenario::Full}};
    const std::pair<const char*, Step> steps[] = {{"pour", Step::Pour},
                                                  {"gravity", Step::Gravity},
                                                  {"diffuse", Step::Diffuse},
                                                  {"carve", Step::Carve},
                                                  {"all_four", Step::AllFour}};
    for (const auto& [scenarioName, scenario] : scenarios) {
        for (const auto& [stepName, step] : steps) {
            const std::string name = std::string("field/") + scenarioName + "/" + stepName;
            benchmark::RegisterBenchmark(name.c_str(), fieldStep, scenario, step)->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::RegisterBenchmark("memcpy_four_planes", copyFourPlanes)->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace
}  // namespace qv
