// SPDX-License-Identifier: MIT
// Reading the break history and scoring it: a 100,000-line decode, a cache hit, a year of scores.
#include "core/Logger.h"
#include "history/BreakLog.h"
#include "history/ScreenScore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace sorvala {
namespace {

/// Central European winter time; the zone lookup is the calendar adapter's cost, not the history's.
class FixedOffsetCalendar final : public Calendar {
public:
    int utcOffsetSeconds(Instant) const override { return 3600; }
    int firstWeekday() const override { return 2; }
    std::string timeZoneId() const override { return "UTC+01:00"; }
};

/// A working day's worth of events: micro breaks every 20 minutes, a long break every hour,
/// now and then a skip or a snooze, from 08:00 to 18:00 local time.
std::vector<BreakEvent> history(int days) {
    std::vector<BreakEvent> events;
    const Instant first = *parseIso8601("2025-01-01T07:00:00Z");
    for (int day = 0; day < days; ++day) {
        for (int minute = 20; minute <= 600; minute += 20) {
            const Instant at = first + day * 86400.0 + minute * 60.0;
            const bool longBreak = minute % 60 == 0;
            const auto outcome = (minute + day * 20) % 260 == 0   ? BreakEvent::Outcome::skipped
                                 : (minute + day * 20) % 340 == 0 ? BreakEvent::Outcome::postponed
                                                                  : BreakEvent::Outcome::taken;
            const std::optional<double> duration =
                outcome == BreakEvent::Outcome::postponed ? std::nullopt
                                                          : std::optional<double>(longBreak ? 312.5 : 20.25);
            events.push_back({at, longBreak ? BreakEvent::Kind::long_ : BreakEvent::Kind::micro, outcome, duration});
        }
    }
    return events;
}

std::string jsonLines(std::size_t lines) {
    auto events = history(static_cast<int>(lines / 30 + 1));
    events.resize(lines);
    std::string text;
    for (const auto& event : events)
        text += *BreakLog::encode(event) + "\n";
    return text;
}

std::filesystem::path historyFile(std::size_t lines) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("sorvala-bench-" + std::to_string(::getpid()) + "-" + std::to_string(lines) + ".jsonl");
    if (!std::filesystem::exists(path))
        std::ofstream(path, std::ios::binary) << jsonLines(lines);
    return path;
}

void decodeText(benchmark::State& state) {
    const std::string text = jsonLines(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(BreakLog::decode(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(decodeText)->Unit(benchmark::kMillisecond);

void readFileCold(benchmark::State& state) {
    const auto path = historyFile(100000);
    NullLogger log;
    for (auto _ : state) {
        BreakLogReader reader(path); // a fresh reader has an empty cache
        benchmark::DoNotOptimize(reader.events(log));
    }
    std::filesystem::remove(path);
}
BENCHMARK(readFileCold)->Unit(benchmark::kMillisecond);

void cacheHit(benchmark::State& state) {
    const auto path = historyFile(100000);
    NullLogger log;
    BreakLogReader reader(path);
    reader.events(log);
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.events(log));
    std::filesystem::remove(path);
}
BENCHMARK(cacheHit)->Unit(benchmark::kMicrosecond);

void scoreEveryDayOfAYear(benchmark::State& state) {
    const auto events = history(365);
    const FixedOffsetCalendar calendar;
    for (auto _ : state) {
        const auto buckets = ScreenScore::bucketByDay(events, calendar);
        int total = 0;
        for (const auto& [day, dayEvents] : buckets)
            total += ScreenScore::daily(buckets, day, 60)->score;
        benchmark::DoNotOptimize(total);
    }
    state.counters["events"] = static_cast<double>(events.size());
}
BENCHMARK(scoreEveryDayOfAYear)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace sorvala
