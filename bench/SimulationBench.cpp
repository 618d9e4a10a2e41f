// SPDX-License-Identifier: MIT
// How long `sorvalactl simulate` takes for a full working day, and the bare application object
// through a week of polls.
#include "simulation/Scenario.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

namespace sorvala {
namespace {

std::string fullDay() {
    std::ifstream file(SORVALA_BENCH_DATA_DIR "/apps/full-day.jsonl", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void BM_FullWorkingDay(benchmark::State& state) {
    const auto parsed = Scenario::parse(fullDay());
    if (!std::holds_alternative<Scenario>(parsed)) {
        state.SkipWithError("the full-day scenario does not parse");
        return;
    }
    const auto& scenario = std::get<Scenario>(parsed);
    for (auto _ : state)
        benchmark::DoNotOptimize(scenario.output());
}
BENCHMARK(BM_FullWorkingDay)->Unit(benchmark::kMillisecond);

void BM_WeekOfReadingAtTheDesk(benchmark::State& state) {
    for (auto _ : state) {
        Simulation::Options options;
        options.start = Instant::fromSecondsSinceEpoch(1796630400);
        options.timeZone = "Europe/Berlin";
        Simulation simulation(options);
        simulation.launch();
        simulation.user().setActivity(SimulatedUser::Activity::read);
        simulation.advance(7 * 86400);
        benchmark::DoNotOptimize(simulation.history().size());
    }
}
BENCHMARK(BM_WeekOfReadingAtTheDesk)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace sorvala
