// SPDX-License-Identifier: MIT
// The cost of one smart-pause sweep over instant probes (the sweep's own overhead), and of the
// deciders that parse what the desktop reports.
#include "core/SettingsKeys.h"
#include "sensing/MicrophoneDetection.h"
#include "sensing/ScreenCaptureDetection.h"
#include "sensing/Sensors.h"
#include "support/FakeSystemSignals.h"
#include "support/MemoryPreferences.h"
#include "support/TemporaryDirectory.h"

#include <benchmark/benchmark.h>


namespace {

using namespace sorvala;
namespace Keys = SettingsSchema;

const Instant now = Instant::fromSecondsSinceEpoch(1'796'644'800);

std::string fixture(const char* name) {
    return readFile(std::string(SORVALA_TEST_DATA_DIR "/sensing/") + name);
}

void everyCauseEnabled(MemoryPreferences& store) {
    store.set(Keys::pauseDuringVideoKey, true);
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::pauseDuringScreenCaptureKey, true);
    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/.calendars/work"});
    store.set(Keys::excludedAppBundleIdentifiersKey, std::vector<std::string>{"org.gnome.Terminal", "zoom"});
}

/// Every cause enabled, none active, the user away: all seven probes run.
void fullSweepNothingActive(benchmark::State& state) {
    FakeSystemSignals system;
    MemoryPreferences store;
    everyCauseEnabled(store);
    system.frontmostApp = "firefox";
    for (auto _ : state)
        benchmark::DoNotOptimize(Sensors::sweepSmartPause(system, store, now, 600));
}
BENCHMARK(fullSweepNothingActive)->Unit(benchmark::kMicrosecond);

/// Every cause enabled and active, the user away: the first cause and one attended cause run.
void fullSweepEverythingActive(benchmark::State& state) {
    FakeSystemSignals system;
    MemoryPreferences store;
    everyCauseEnabled(store);
    system.microphone = system.fullscreen = system.video = system.calendarEvent = true;
    system.screenCapture = system.doNotDisturb = true;
    system.frontmostApp = "zoom";
    for (auto _ : state)
        benchmark::DoNotOptimize(Sensors::sweepSmartPause(system, store, now, 600));
}
BENCHMARK(fullSweepEverythingActive)->Unit(benchmark::kMicrosecond);

/// What the screen-capture probe decides over one pw-dump document.
void screenCaptureFromPwDump(benchmark::State& state) {
    const std::string dump = fixture("pw-dump-screencast.json");
    for (auto _ : state) {
        const auto nodes = ScreenCaptureDetection::parsePwDump(dump);
        benchmark::DoNotOptimize(nodes && ScreenCaptureDetection::screenCaptured(*nodes));
    }
}
BENCHMARK(screenCaptureFromPwDump)->Unit(benchmark::kMicrosecond);

/// What the call probe decides over a listing of sources and recording streams.
void microphoneFromPactl(benchmark::State& state) {
    const std::string sources = fixture("pactl-sources.txt");
    const std::string streams = fixture("pactl-source-outputs-call.txt");
    for (auto _ : state)
        benchmark::DoNotOptimize(MicrophoneDetection::microphoneInUse(
            MicrophoneDetection::parseSourceList(sources), MicrophoneDetection::parseSourceOutputList(streams), 1));
}
BENCHMARK(microphoneFromPactl)->Unit(benchmark::kMicrosecond);

} // namespace
