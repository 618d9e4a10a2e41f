// SPDX-License-Identifier: MIT
#include "core/SettingsKeys.h"
#include "sensing/BlockerPermission.h"
#include "sensing/FreshReading.h"
#include "sensing/Sensors.h"
#include "support/FakeSystemSignals.h"
#include "support/MemoryPreferences.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

namespace Keys = SettingsSchema;
using Sensors::SmartPauseCause;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const Instant noon = Instant::fromSecondsSinceEpoch(1'796'644'800); // 2026-12-07T12:00:00Z, a Monday

/// A cause whose probe answers `active` and writes its label into `probed` when it runs.
SmartPauseCause cause(std::string label, bool attended, bool active, std::vector<std::string>& probed) {
    return SmartPauseCause{[label, active, &probed] {
                               probed.push_back(label);
                               return active;
                           },
                           "clause", label, false, attended};
}

TEST(SensorsSweep, ProbesOnlyWhatCanChangeTheResult) {
    using Causes = std::vector<std::tuple<std::string, bool, bool>>; // label, attended, active
    struct Case { const char* name; double idle; Causes causes;
                  std::optional<std::string> active; bool presenceProven; std::vector<std::string> probed; };
    const Case cases[] = {
        {"call and calendar active while away: the calendar is not asked", 200,
         {{"call", true, true}, {"fullscreen", false, false}, {"calendar", true, true}},
         "call", true, {"call"}},
        {"fullscreen active while away: attended causes after it are still asked", 200,
         {{"call", true, false}, {"fullscreen", false, true}, {"video", false, false}, {"calendar", true, false},
          {"capture", true, false}},
         "fullscreen", false, {"call", "fullscreen", "calendar", "capture"}},
        {"user at the keyboard: the sweep stops at the first hit", 30,
         {{"call", true, false}, {"video", false, true}, {"calendar", true, true}},
         "video", false, {"call", "video"}},
        {"idle exactly at the threshold counts", 120,
         {{"video", false, true}, {"calendar", true, true}}, "video", true, {"video", "calendar"}},
        {"idle just below the threshold does not", 119.9,
         {{"video", false, true}, {"calendar", true, true}}, "video", false, {"video"}},
        {"nothing active: every cause is asked once", 500,
         {{"call", true, false}, {"fullscreen", false, false}}, std::nullopt, false, {"call", "fullscreen"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> probed;
        std::vector<SmartPauseCause> causes;
        for (const auto& [label, attended, active] : c.causes)
            causes.push_back(cause(label, attended, active, probed));
        const auto reading = Sensors::sweepSmartPause(causes, c.idle);
        EXPECT_EQ(reading.active ? std::optional(reading.active->menuLabel) : std::nullopt, c.active);
        EXPECT_EQ(reading.presenceProven, c.presenceProven);
        EXPECT_EQ(probed, c.probed);
    }
}

class SensorsOn : public ::testing::Test {
protected:
    FakeSystemSignals system;
    MemoryPreferences store;
};

TEST_F(SensorsOn, PresenceSweepBelowTheThresholdProbesNothing) {
    std::vector<std::string> probed;
    const std::vector<SmartPauseCause> causes{cause("video", false, true, probed)};
    EXPECT_EQ(Sensors::sweepSmartPauseForPresence(causes, 30), Sensors::SmartPauseReading{});
    EXPECT_THAT(probed, IsEmpty());
    EXPECT_EQ(Sensors::sweepSmartPauseForPresence(causes, 120).active->menuLabel, "video");

    system.microphone = system.fullscreen = system.doNotDisturb = true;
    EXPECT_FALSE(Sensors::sweepSmartPauseForPresence(system, store, noon, 119.9).active);
    EXPECT_THAT(system.probed(), IsEmpty());
}

TEST_F(SensorsOn, BuildingTheCauseListProbesNothingAndLabelsMatchExactly) {
    EXPECT_FALSE(Sensors::smartPauseCauses(system, store, noon).empty());
    EXPECT_THAT(system.probed(), IsEmpty()) << "building the list probes nothing";

    system.doNotDisturb = true;
    EXPECT_TRUE(Sensors::smartPauseCause("Do Not Disturb on", system, store, noon)->isActive());
    EXPECT_FALSE(Sensors::smartPauseCause("Focus mode on", system, store, noon));
    EXPECT_FALSE(Sensors::smartPauseCause("on a call", system, store, noon)) << "labels match exactly";
}

TEST_F(SensorsOn, GatedCausesReadTheirSettingBeforeProbing) {
    system.video = system.calendarEvent = system.screenCapture = true;
    system.frontmostApp = "org.gnome.Terminal";
    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/.calendars/work"});

    EXPECT_FALSE(Sensors::sweepSmartPause(system, store, noon, 500).active);
    EXPECT_THAT(system.probed(), ElementsAre("doNotDisturbActive", "frontmostApplicationIsFullscreen",
                                              "microphoneInUse"))
        << "switched-off causes and an empty exclusion list ask nothing";

    system.resetCalls();
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    const auto reading = Sensors::sweepSmartPause(system, store, noon, 500);
    EXPECT_EQ(reading.active->menuLabel, "In a calendar event");
    EXPECT_TRUE(reading.presenceProven);
    EXPECT_EQ(system.lastCalendarSources, std::vector<std::string>{"/home/u/.calendars/work"});
    EXPECT_EQ(system.lastCalendarNow, noon);

    store.set(Keys::pauseDuringCalendarEventsKey, false);
    store.set(Keys::pauseDuringVideoKey, true);
    EXPECT_EQ(Sensors::activeSmartPauseCause(system, store, noon), "Video playing");
    store.set(Keys::pauseDuringVideoKey, false);
    store.set(Keys::pauseDuringScreenCaptureKey, true);
    EXPECT_EQ(Sensors::activeSmartPauseCause(system, store, noon), "Screen recorded or shared");
    store.set(Keys::pauseDuringScreenCaptureKey, false);
    store.set(Keys::excludedAppBundleIdentifiersKey, std::vector<std::string>{"org.gnome.Terminal"});
    EXPECT_EQ(Sensors::activeSmartPauseCause(system, store, noon), "Excluded app active");
    EXPECT_TRUE(Sensors::smartPauseBlockerActive(system, store, noon));
}

TEST_F(SensorsOn, TheCalendarIsNotAskedWithoutASource) {
    system.calendarEvent = true;
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::calendarSourcesKey, std::vector<std::string>{""});
    EXPECT_FALSE(Sensors::calendarBlocksBreak(store, system, noon)) << "no calendar sources chosen";
    EXPECT_EQ(system.callCount("calendarEventInProgress"), 0);
}

TEST(SensorsExcludedApps, MatchesExactlyAndNeverWithoutAnApplication) {
    EXPECT_FALSE(Sensors::applicationIsExcluded("Firefox", {"firefox"}));
    EXPECT_FALSE(Sensors::applicationIsExcluded(std::nullopt, {"firefox"}));
}

TEST(SensorsCooldown, RemainingSeconds) {
    MemoryPreferences store;
    const auto remaining = [&](std::optional<double> blockedSecondsAgo) {
        return Sensors::smartPauseCooldownRemaining(
            store, blockedSecondsAgo ? std::optional(noon - *blockedSecondsAgo) : std::nullopt, noon);
    };
    EXPECT_EQ(remaining(100), 0) << "no cooldown setting";
    store.set(Keys::smartPauseCooldownSecondsKey, std::int64_t{0});
    EXPECT_EQ(remaining(1), 0);
    store.set(Keys::smartPauseCooldownSecondsKey, std::int64_t{300});
    EXPECT_EQ(remaining(100), 200);
    EXPECT_EQ(remaining(400), 0);
    EXPECT_EQ(remaining(std::nullopt), 0);
    EXPECT_EQ(remaining(-3600), 300) << "a clock stepped back an hour holds no longer than the cooldown";
}

TEST(FreshReadingCache, LifetimeIsAbsoluteAndExclusive) {
    FreshReading<std::string> label(3.0);
    int reads = 0;
    const auto read = [&reads] { return "read " + std::to_string(++reads); };
    EXPECT_EQ(label.value(noon, read), "read 1");
    EXPECT_EQ(label.value(noon + 2.9, read), "read 1");
    EXPECT_EQ(label.value(noon - 2.9, read), "read 1") << "a clock stepped back still finds it fresh";
    EXPECT_EQ(label.value(noon + 3.0, read), "read 2");
    EXPECT_EQ(label.value(noon + 5.9, read), "read 2") << "fresh again from the new reading";
    EXPECT_EQ(reads, 2);
}

TEST_F(SensorsOn, BlockerPermissionOfTheCalendarIsGrantedByAReadableSource) {
    store.set(Keys::pauseDuringCalendarEventsKey, true);
    store.set(Keys::pauseDuringScreenCaptureKey, true);
    EXPECT_THAT(ungrantedButEnabled(store, system), ElementsAre(BlockerPermission::calendar))
        << "no sources chosen; screen capture needs nothing on Linux";
    EXPECT_EQ(system.callCount("calendarAccessGranted"), 0);

    store.set(Keys::calendarSourcesKey, std::vector<std::string>{"/home/u/work.ics"});
    EXPECT_THAT(ungrantedButEnabled(store, system), IsEmpty());
    system.calendarReadable = false;
    system.screenRecordingAllowed = false;
    EXPECT_THAT(ungrantedButEnabled(store, system),
                ElementsAre(BlockerPermission::screenRecording, BlockerPermission::calendar));
    EXPECT_EQ(missingPermissionsLine(ungrantedButEnabled(store, system)),
              "blockers switched on without their permission: Screen Recording, Calendar");
    store.set(Keys::pauseDuringCalendarEventsKey, false);
    store.set(Keys::pauseDuringScreenCaptureKey, false);
    EXPECT_EQ(missingPermissionsLine(ungrantedButEnabled(store, system)), std::nullopt);
}

} // namespace
} // namespace sorvala
