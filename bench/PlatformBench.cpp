// SPDX-License-Identifier: MIT
// What each Linux probe costs the main loop, one call at a time. Run inside scripts/test-session
// so the X server, the bus and the sound server are there:
//   scripts/test-session build/bench/sorvala_bench_platform
#include "core/Logger.h"
#include "platform/LinuxSystemSignals.h"
#include "platform/MadvisePageRelease.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace sorvala;

namespace {

SystemSignals& probes() {
    static int argc = 1;
    static char name[] = "sorvala_bench_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static NullLogger log;
    static std::unique_ptr<SystemSignals> instance = makeLinuxSystemSignals(log);
    return *instance;
}

void IdleTime(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().secondsSinceLastInput());
}
BENCHMARK(IdleTime);

void KeyDownTime(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().secondsSinceLastKeyDown());
}
BENCHMARK(KeyDownTime);

void FrontmostApplication(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().frontmostApplicationBundleIdentifier());
}
BENCHMARK(FrontmostApplication);

void Fullscreen(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().frontmostApplicationIsFullscreen());
}
BENCHMARK(Fullscreen);

void DisplaySleep(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().everyDisplayIsAsleep());
}
BENCHMARK(DisplaySleep);

void VideoInhibitors(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().videoPlaying());
}
BENCHMARK(VideoInhibitors);

void DoNotDisturb(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().doNotDisturbActive());
}
BENCHMARK(DoNotDisturb);

void Microphone(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().microphoneInUse());
}
BENCHMARK(Microphone);

void CalendarWeek(benchmark::State& state) {
    const std::vector<std::string> sources = {SORVALA_BENCH_DATA_DIR "/platform/calendar/weekly.ics",
                                              SORVALA_BENCH_DATA_DIR "/platform/calendar/single.ics"};
    const Instant now = *parseIso8601("2026-06-01T09:10:00Z");
    for (auto _ : state)
        benchmark::DoNotOptimize(probes().calendarEventInProgress(sources, now));
}
BENCHMARK(CalendarWeek);

// The scan a long break starts on a thread of its own, over this program's file pages (fewer than
// the tray program's: see the log's "break pages" lines for what a break gives back).
void ResidentFilePages(benchmark::State& state) {
    probes();
    const auto end = MadvisePageRelease::scanEnd();
    for (auto _ : state)
        benchmark::DoNotOptimize(MadvisePageRelease::residentFilePages(end));
}
BENCHMARK(ResidentFilePages);

} // namespace
