// SPDX-License-Identifier: MIT
// From the click to the statistics view shown, over a 100,000-line history: warm (the history
// already decoded by an earlier opening) and cold (the first opening after start). The reports
// window is measured the same way.
#include "app/SettingsSchema.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "history/BreakLog.h"
#include "platform/calendar/SystemCalendar.h"
#include "simulation/MemoryPreferences.h"
#include "ui/reports/ReportsWindow.h"
#include "ui/stats/StatsWindow.h"

#include <QApplication>
#include <QThread>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace sorvala {
namespace {

/// Ten hours of breaks every twenty minutes a day, ending now, some skipped or snoozed.
std::filesystem::path historyFile(std::size_t lines) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("sorvala-bench-stats-" + std::to_string(::getpid()) + ".jsonl");
    if (std::filesystem::exists(path))
        return path;
    std::ofstream out(path, std::ios::binary);
    const Instant now = SystemClock().now();
    const auto days = static_cast<int>(lines / 30 + 1);
    std::size_t written = 0;
    for (int day = days; day >= 0 && written < lines; --day) {
        for (int minute = 20; minute <= 600 && written < lines; minute += 20, ++written) {
            const Instant at = now - day * 86400.0 - (600 - minute) * 60.0;
            const auto outcome = (minute + day) % 13 == 0  ? BreakEvent::Outcome::skipped
                                 : (minute + day) % 17 == 0 ? BreakEvent::Outcome::postponed
                                                            : BreakEvent::Outcome::taken;
            const bool longBreak = minute % 60 == 0;
            const std::optional<double> duration =
                outcome == BreakEvent::Outcome::postponed ? std::nullopt : std::optional(longBreak ? 312.0 : 20.0);
            out << *BreakLog::encode({at, longBreak ? BreakEvent::Kind::long_ : BreakEvent::Kind::micro, outcome,
                                      duration})
                << '\n';
        }
    }
    return path;
}

struct Setting {
    std::filesystem::path file = historyFile(100000);
    SystemCalendar calendar;
    SystemClock clock;
    MemoryPreferences store;
    NullLogger log;
    Setting() { SettingsSchema::registerDefaults(store); }
};

void showStats(StatsWindow& window) {
    window.toggle(QPoint(800, 10));
    window.repaint();
    QApplication::processEvents();
}

void hideStats(StatsWindow& window) {
    window.hide();
    QApplication::processEvents();
}

void statsOpenWarm(benchmark::State& state) {
    Setting setting;
    StatsWindow window({setting.file, setting.calendar, setting.clock, setting.store, setting.log});
    showStats(window);
    hideStats(window);
    for (auto _ : state) {
        state.PauseTiming();
        QApplication::processEvents();
        QThread::msleep(400); // past the guard against the click that closed the view
        state.ResumeTiming();
        showStats(window);
        state.PauseTiming();
        hideStats(window);
        state.ResumeTiming();
    }
}
BENCHMARK(statsOpenWarm)->Unit(benchmark::kMillisecond)->Iterations(20);

void statsOpenCold(benchmark::State& state) {
    Setting setting;
    for (auto _ : state) {
        StatsWindow window({setting.file, setting.calendar, setting.clock, setting.store, setting.log});
        showStats(window);
        state.PauseTiming();
        hideStats(window);
        state.ResumeTiming();
    }
}
BENCHMARK(statsOpenCold)->Unit(benchmark::kMillisecond)->Iterations(10);

void reportsOpenCold(benchmark::State& state) {
    Setting setting;
    for (auto _ : state) {
        ReportsWindow window({setting.file, setting.calendar, setting.log});
        window.showAndRaise();
        window.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(reportsOpenCold)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace sorvala

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(sorvala::historyFile(0));
    return 0;
}
