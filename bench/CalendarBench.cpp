// SPDX-License-Identifier: MIT
// What the calendar cause costs: the main thread's poll against a folder of 3,000 event files
// and against a five-million-count minutely rule started in 2020, and what reading them costs
// the reading thread. The files are written into a temporary folder at start.
//   build/bench/sorvala_bench_calendar
#include "platform/calendar/BackgroundCalendar.h"
#include "platform/calendar/ICalendarSources.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace sorvala;

namespace {

const Instant now = *parseIso8601("2026-06-01T09:10:00Z");

std::filesystem::path benchFolder() {
    static const std::filesystem::path folder = [] {
        const auto root = std::filesystem::temp_directory_path() / ("sorvala-bench-calendar-" + std::to_string(getpid()));
        std::filesystem::create_directories(root / "folder");
        for (int i = 0; i < 3000; ++i) {
            std::ofstream file(root / "folder" / ("event-" + std::to_string(i) + ".ics"));
            const int day = 1 + i % 28;
            file << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\nUID:event-" << i
                 << "@bench\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:202605" << (day < 10 ? "0" : "") << day
                 << "T1" << i % 10 << "0000Z\r\nDURATION:PT30M\r\nSUMMARY:Event " << i
                 << "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        }
        std::ofstream rule(root / "long-count.ics");
        rule << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\nUID:minutely@bench\r\n"
                "DTSTAMP:20200101T000000Z\r\nDTSTART:20200101T000000Z\r\nDURATION:PT30S\r\n"
                "RRULE:FREQ=MINUTELY;COUNT=5000000\r\nSUMMARY:Every minute\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        return root;
    }();
    return folder;
}

std::vector<std::string> source(const char* name) {
    return {(benchFolder() / name).string()};
}

// The reading thread's work: a first read of everything (parse, expand), one per iteration.
void ReadFirstTime(benchmark::State& state, const char* name) {
    for (auto _ : state) {
        ICalendarSources files;
        benchmark::DoNotOptimize(files.occurrences(source(name), now, now + 3600));
    }
}
BENCHMARK_CAPTURE(ReadFirstTime, folder3000, "folder")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ReadFirstTime, count5000000, "long-count.ics")->Unit(benchmark::kMillisecond)->Iterations(1);

// A later reading of unchanged files a minute on: served from what was parsed and expanded.
void ReadAgain(benchmark::State& state, const char* name) {
    ICalendarSources files;
    files.occurrences(source(name), now, now + 3600);
    double minute = 0;
    for (auto _ : state) {
        minute += 60;
        benchmark::DoNotOptimize(files.occurrences(source(name), now + minute, now + minute + 3600));
    }
}
BENCHMARK_CAPTURE(ReadAgain, folder3000, "folder")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAgain, count5000000, "long-count.ics")->Unit(benchmark::kMillisecond);

// The main thread's poll, the first one included: it never waits for a reading.
void PollOnTheMainThread(benchmark::State& state, const char* name) {
    for (auto _ : state) {
        state.PauseTiming();
        auto calendar = std::make_unique<BackgroundCalendar>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(calendar->eventInProgress(source(name), now)); // starts the reading
        benchmark::DoNotOptimize(calendar->eventInProgress(source(name), now + 10)); // while it runs
        state.PauseTiming();
        calendar.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(PollOnTheMainThread, folder3000, "folder")->Unit(benchmark::kMicrosecond)->Iterations(1);
BENCHMARK_CAPTURE(PollOnTheMainThread, count5000000, "long-count.ics")->Unit(benchmark::kMicrosecond)->Iterations(1);

} // namespace
