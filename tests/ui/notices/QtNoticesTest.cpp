// SPDX-License-Identifier: MIT
#include "ui/notices/QtNotices.h"

#include "core/SettingsKeys.h"
#include "simulation/VirtualTimers.h"
#include "support/MemoryPreferences.h"
#include "support/RecordingLogger.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"
#include "ui/notices/NoticeCapsule.h"
#include "ui/notices/ScreenDim.h"

#include "FakePointer.h"

#include <QGuiApplication>
#include <QPushButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace sorvala;
using ::testing::ElementsAre;
using Kind = UserSignal::Kind;

namespace {

class OnScreen : public ::testing::Test {
protected:
    OnScreen() {
        store.set(SettingsSchema::preBreakOverlayKey, true);
        store.set(SettingsSchema::preBreakOverlayPositionKey, 1);
        store.set(SettingsSchema::overtimeNudgeKey, true);
        const auto record = [this](const char* what) { return [this, what] { events.push_back(what); }; };
        notices.wire({
            .onSnoozeBreak = record("snooze"), .onSkipBreak = record("skip"), .onUndoAwayReset = record("undo"),
            .onAwayResetStood = record("stood"), .onOvertimeDismissed = record("overtime dismissed"),
            .onWellnessNudgeShown = [this](WellnessNudge::Kind) { events.push_back("wellness shown"); },
            .secondsUntilBreak = [this] { return seconds; }, .snoozeAllowed = [this] { return snoozeAllowed; },
            .overtimeText = [this] { return overtime; },
            .wellnessKindDue = [] { return std::optional(WellnessNudge::Kind::posture); },
        });
    }

    void advance(double by) { timers.runUntil(clock.now() + by); }

    MemoryPreferences store;
    RecordingLogger log;
    VirtualClock clock;
    VirtualTimers timers{clock};
    std::vector<std::string> events;
    std::optional<double> seconds = 30;
    bool snoozeAllowed = true;
    std::optional<std::string> overtime;
    QtNotices notices{{store, log, timers, nullptr, {}}};
};

} // namespace

TEST_F(OnScreen, TheCountdownCountsDimsAndGoesWhenTheBreakIsNoLongerComing) {
    notices.show(UserSignal::preBreak(true, 0, 3, std::nullopt, true));
    auto* capsule = notices.capsule(Kind::preBreak);
    ASSERT_NE(capsule, nullptr);
    ASSERT_NE(notices.screenDim(), nullptr);
    // Without a compositor (the test session has none) no veil hides the live screen.
    EXPECT_EQ(notices.screenDim()->windows().size(),
              ScreenDim::compositorRunning() ? size_t(QGuiApplication::screens().size()) : 0u);
    EXPECT_DOUBLE_EQ(notices.screenDim()->alpha(), 0);

    seconds = 14.6;
    advance(0.5);
    EXPECT_EQ(capsule->body(), QString::fromUtf8("Break in 14\u2026"));
    EXPECT_NEAR(notices.screenDim()->alpha(), 0.8 * (1 - 14.6 / 30), 1e-9);

    buttonTitled(*capsule, "Snooze 5 min")->click();
    buttonTitled(*capsule, "Skip")->click();
    EXPECT_THAT(events, ElementsAre("snooze", "skip"));

    seconds.reset();
    advance(0.5);
    EXPECT_EQ(notices.capsule(Kind::preBreak), nullptr);
    EXPECT_EQ(notices.screenDim(), nullptr);
    EXPECT_EQ(timers.liveCount(), 0) << "the countdown's ticker stops with it";

    // Without snoozes left it offers Skip alone.
    snoozeAllowed = false;
    seconds = 30;
    notices.show(UserSignal::preBreak(false, 3, 0, std::nullopt, true));
    capsule = notices.capsule(Kind::preBreak);
    ASSERT_NE(capsule, nullptr);
    EXPECT_EQ(capsule->findChildren<QPushButton*>().size(), 1);
    notices.clear(Kind::preBreak);
    settle();
}

TEST_F(OnScreen, TheOvertimeBadgeLetsClicksThroughAndFollowsItsText) {
    overtime = "45m without a break";
    notices.refreshOvertimeTicker();
    auto* badge = notices.capsule(Kind::overtime);
    ASSERT_NE(badge, nullptr);
    EXPECT_TRUE(badge->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(badge->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));

    advance(30);
    EXPECT_EQ(notices.capsule(Kind::overtime), badge) << "the same text keeps the same badge";
    overtime = "46m without a break";
    advance(30);
    ASSERT_NE(notices.capsule(Kind::overtime), badge);
    EXPECT_EQ(notices.capsule(Kind::overtime)->body(), "46m without a break");
    overtime.reset();
    notices.stopOvertimeTicker();
    settle();
}

TEST_F(OnScreen, TheUndoToastResolvesWhenItRunsOutAndWellnessHidesAfterSixSeconds) {
    notices.show(UserSignal::awayUndo());
    ASSERT_NE(notices.capsule(Kind::awayUndo), nullptr);
    advance(11.9);
    EXPECT_TRUE(events.empty());
    advance(0.2);
    EXPECT_THAT(events, ElementsAre("stood"));
    EXPECT_EQ(notices.capsule(Kind::awayUndo), nullptr);

    notices.show(UserSignal::awayUndo());
    EXPECT_FALSE(notices.capsule(Kind::awayUndo)->windowFlags().testFlag(Qt::WindowTransparentForInput))
        << "a toast with buttons takes its clicks";
    buttonTitled(*notices.capsule(Kind::awayUndo), "Undo")->click();
    EXPECT_EQ(events.back(), "undo");
    notices.clear(Kind::awayUndo);
    advance(20);
    EXPECT_EQ(events.size(), 2u) << "a cleared toast does not resolve again";

    events.clear();
    store.set(SettingsSchema::wellnessPostureKey, true);
    store.set(SettingsSchema::wellnessIntervalMinutesKey, 1);
    notices.refreshWellnessTicker();
    advance(60);
    EXPECT_THAT(events, ElementsAre("wellness shown"));
    ASSERT_NE(notices.capsule(Kind::wellness), nullptr);
    advance(6);
    EXPECT_EQ(notices.capsule(Kind::wellness), nullptr);
    store.set(SettingsSchema::wellnessPostureKey, false);
    notices.refreshWellnessTicker();
    settle();
}

TEST_F(OnScreen, OnX11TheBadgeWaitsForPointerMotionAndAShakeDismissesIt) {
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs the X server of scripts/test-session";
    overtime = "45m without a break";
    notices.refreshOvertimeTicker();
    ASSERT_NE(notices.capsule(Kind::overtime), nullptr);
    EXPECT_TRUE(notices.watchesPointerMotion());
    EXPECT_FALSE(notices.pollsPointer()) << "nothing runs while the pointer rests";

    for (const int x : {500, 560, 500, 560, 500, 560, 500}) {
        ASSERT_TRUE(fakePointerMotion(x, 300));
        waitFor([] { return false; }, 100);
    }
    EXPECT_TRUE(waitFor([&] { return !events.empty(); }));
    EXPECT_THAT(events, ElementsAre("overtime dismissed"));
    EXPECT_EQ(notices.capsule(Kind::overtime), nullptr);
    EXPECT_FALSE(notices.watchesPointerMotion());
    overtime.reset();
    notices.stopOvertimeTicker();
    settle();
}
