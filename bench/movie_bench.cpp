// What a movie costs: 600 frames of the long golden session run by the headless runner with and
// without `--movie` (every second frame, the default), and how big the movie is.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "headless_run.h"

namespace {

void BM_Run600Frames(benchmark::State& state, bool withMovie) {
    qv::headless::Options options;
    options.seed = 2026;
    options.frames = 600;
    options.framesGiven = true;
    options.inputPath = "../tests/tools/golden/long_session.input";  // run from assets/
    const std::filesystem::path movie = std::filesystem::temp_directory_path() / "quorvantile-bench-movie.webp";
    if (withMovie) {
        options.moviePath = movie.string();
    }
    for (auto _ : state) {
        std::ostringstream output, errors;
        if (qv::headless::runHeadless(options, output, errors) != qv::headless::kRunOk) {
            state.SkipWithError(errors.str().c_str());
            break;
        }
    }
    if (withMovie && std::filesystem::exists(movie)) {
        state.counters["movie_bytes"] = static_cast<double>(std::filesystem::file_size(movie));
        std::filesystem::remove(movie);
    }
}
BENCHMARK_CAPTURE(BM_Run600Frames, without_movie, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Run600Frames, with_movie, true)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
