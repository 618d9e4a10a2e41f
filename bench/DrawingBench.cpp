// SPDX-License-Identifier: MIT
// Generating a drawing happens once per break, on the main thread, before the first frame:
// the slowest drawing at 3840×2160 should stay under 5 ms. The largest drawings allocate about a
// megabyte of fresh points, so where page faults are dear the first touch of that memory costs more
// than the arithmetic; GLIBC_TUNABLES=glibc.malloc.mmap_threshold=268435456 shows the arithmetic alone.
#include "drawing/SorvalaGenerator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace sorvala;

void generateDrawing(benchmark::State& state) {
    const auto drawing = state.range(0);
    std::uint64_t seed = 0;
    std::size_t points = 0;
    for (auto _ : state) {
        // A new seed each round, so the figure covers the drawing's whole range of sizes.
        const auto sorvala = SorvalaGenerator::generate({3840, 2160}, drawing, ++seed);
        benchmark::DoNotOptimize(sorvala.strokes().data());
        for (const auto& stroke : sorvala.strokes())
            points += stroke.points.size();
    }
    state.SetLabel(std::string(SorvalaGenerator::drawingNames[static_cast<std::size_t>(drawing)]));
    state.counters["points"] = benchmark::Counter(static_cast<double>(points), benchmark::Counter::kAvgIterations);
}
BENCHMARK(generateDrawing)->DenseRange(0, SorvalaGenerator::drawingCount - 1)->Unit(benchmark::kMillisecond);

// The largest case of each drawing among the first seeds, since the average hides it.
void generateLargest(benchmark::State& state) {
    const auto drawing = state.range(0);
    std::uint64_t largestSeed = 0;
    std::size_t largestPoints = 0;
    for (std::uint64_t seed = 0; seed < 64; ++seed) {
        std::size_t points = 0;
        for (const auto& stroke : SorvalaGenerator::generate({3840, 2160}, drawing, seed).strokes())
            points += stroke.points.size();
        if (points > largestPoints) {
            largestPoints = points;
            largestSeed = seed;
        }
    }
    for (auto _ : state) {
        const auto sorvala = SorvalaGenerator::generate({3840, 2160}, drawing, largestSeed);
        benchmark::DoNotOptimize(sorvala.strokes().data());
    }
    state.SetLabel(std::string(SorvalaGenerator::drawingNames[static_cast<std::size_t>(drawing)]));
    state.counters["points"] = static_cast<double>(largestPoints);
}
BENCHMARK(generateLargest)->DenseRange(0, SorvalaGenerator::drawingCount - 1)->Unit(benchmark::kMillisecond);

} // namespace
