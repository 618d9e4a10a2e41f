// SPDX-License-Identifier: MIT
#include "sensing/DeferredSystemSignals.h"
#include "support/FakeSystemSignals.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

/// A deferred wrapper around a fake whose every answer differs from its default, counting how
/// often the fake is made.
struct Deferred {
    int made = 0;
    FakeSystemSignals* fake = nullptr;
    DeferredSystemSignals signals{[this] {
        ++made;
        auto real = std::make_unique<FakeSystemSignals>();
        real->idleSeconds = 42;
        real->secondsSinceKeyDown = 3;
        real->displayAsleep = true;
        real->frontmostApp = "org.example.Editor";
        real->fullscreen = true;
        real->video = true;
        real->microphone = true;
        real->doNotDisturb = true;
        real->calendarEvent = true;
        real->screenRecordingAllowed = false;
        real->backendList = {{"session", "x11"}, {"idle", "x11-screensaver"}};
        fake = real.get();
        return real;
    }};
};

TEST(DeferredSystemSignals, MakesTheRealSignalsAtTheFirstQuestionAndOnlyThen) {
    Deferred d;
    EXPECT_FALSE(d.signals.isMade());
    EXPECT_EQ(d.made, 0) << "made before anything was asked";
    d.signals.microphoneInUse();
    d.signals.backends();
    EXPECT_TRUE(d.signals.isMade());
    EXPECT_EQ(d.made, 1);
}

TEST(DeferredSystemSignals, EveryQuestionReachesTheSameQuestionOfTheRealSignals) {
    Deferred d;
    const std::vector<std::string> sources{"/home/me/work.ics"};
    const auto now = Instant::fromSecondsSinceEpoch(1'796'644'800);
    EXPECT_EQ(d.signals.secondsSinceLastInput(), 42);
    EXPECT_EQ(d.signals.secondsSinceLastKeyDown(), 3);
    EXPECT_TRUE(d.signals.displayIsAsleep());
    EXPECT_FALSE(d.signals.everyDisplayIsAsleep());
    EXPECT_EQ(d.signals.frontmostApplicationBundleIdentifier(), "org.example.Editor");
    EXPECT_TRUE(d.signals.frontmostApplicationIsFullscreen());
    EXPECT_TRUE(d.signals.videoPlaying());
    EXPECT_TRUE(d.signals.microphoneInUse());
    EXPECT_FALSE(d.signals.screenCaptured());
    EXPECT_TRUE(d.signals.doNotDisturbActive());
    EXPECT_TRUE(d.signals.calendarAccessGranted(sources));
    EXPECT_TRUE(d.signals.calendarEventInProgress(sources, now));
    EXPECT_EQ(d.fake->lastCalendarSources, sources);
    EXPECT_EQ(d.fake->lastCalendarNow, now);
    EXPECT_FALSE(d.signals.screenRecordingGranted());
    d.signals.lockScreen();
    EXPECT_EQ(d.signals.backends(), d.fake->backendList);

    // Each question was put once, to its own probe: none answered in another's place.
    for (const auto& [probe, count] : d.fake->calls)
        EXPECT_EQ(count, 1) << probe;
    EXPECT_EQ(d.fake->calls.size(), 14u);
}

} // namespace
} // namespace sorvala
