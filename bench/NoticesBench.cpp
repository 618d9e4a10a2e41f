// SPDX-License-Identifier: MIT
// What the overtime badge's shake sampling costs while the badge shows. Run inside
// scripts/test-session so there is an X server to ask for the pointer:
//   scripts/test-session build/bench/sorvala_bench_notices
#include "OffscreenApplication.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "core/SettingsKeys.h"
#include "notices/ShakeDetector.h"
#include "platform/QTimerMainLoopTimer.h"
#include "simulation/MemoryPreferences.h"
#include "ui/notices/QtNotices.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace sorvala;

namespace {

QApplication& application() {
    return offscreenApplication<QApplication>();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

/// One sample: ask the X server where the pointer is and feed the detector.
void PointerSample(benchmark::State& state) {
    application();
    ShakeDetector detector;
    double t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(detector.addSample(QCursor::pos().x(), t));
        t += 0.02;
    }
}
BENCHMARK(PointerSample);

/// The whole process's CPU while only the badge shows and its sampler runs, as a share of one core.
void BadgeShowing(benchmark::State& state) {
    const bool badge = state.range(0) != 0;
    application();
    MemoryPreferences store;
    store.set(SettingsSchema::overtimeNudgeKey, true);
    NullLogger log;
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    QtNotices notices(QtNotices::Services{store, log, timers, nullptr, {}});
    Notices::Callbacks callbacks;
    callbacks.overtimeText = [] { return std::optional<std::string>("1h 5m without a break"); };
    notices.wire(callbacks);
    if (badge)
        notices.refreshOvertimeTicker();
    double share = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        QEventLoop loop;
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
        share = (cpuSeconds() - before) / 3.0;
    }
    state.counters["cpu_percent_of_one_core"] = share * 100;
    notices.stopOvertimeTicker();
}
// Argument 0 is the same idle loop without the badge, for comparison.
BENCHMARK(BadgeShowing)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
