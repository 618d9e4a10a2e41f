// SPDX-License-Identifier: MIT
#include "breakscreen/BreakScreenLifecycle.h"

#include "breakscreen/BreakEscape.h"
#include "core/SettingsKeys.h"
#include "support/FakeSystemSignals.h"
#include "support/RecordingLauncher.h"
#include "support/RecordingLogger.h"
#include "simulation/MemoryPreferences.h"
#include "simulation/RecordingBreakWindows.h"
#include "simulation/RecordingPorts.h"
#include "simulation/VirtualTimers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace sorvala;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class BreakScreenRun : public ::testing::Test {
protected:
    explicit BreakScreenRun(std::optional<double> drawingSeconds = 170) : windows(timers, drawingSeconds) {
        store.set(SettingsSchema::doubleEscapeSkipsKey, true);
        screen.setOnBreakEnded([this](bool isMicroBreak) { ended.push_back(isMicroBreak); });
    }

    void advance(double seconds) { timers.runUntil(clock.now() + seconds); }
    void at(double secondsSinceStart) { timers.runUntil(start + secondsSinceStart); }
    void tier(std::string_view kindKey, std::string_view word) { store.set(kindKey, std::string(word)); }
    const std::vector<BreakEvent>& recorded() const { return history.recorded(); }

    Instant start = Instant::fromSecondsSinceEpoch(1'800'000'000);
    VirtualClock clock{start};
    VirtualTimers timers{clock};
    RecordingLogger log;
    MemoryBreakHistory history{clock, log};
    MemoryPreferences store;
    RecordingBreakWindows windows;
    RecordingLauncher launcher;
    FakeSystemSignals system;
    std::vector<SoundDesign::Event> sounds;
    std::vector<bool> ended;
    BreakScreenLifecycle screen{{.clock = clock,
                                 .timers = timers,
                                 .log = log,
                                 .history = history,
                                 .store = store,
                                 .windows = windows,
                                 .launcher = &launcher,
                                 .system = &system,
                                 .playSound = [this](SoundDesign::Event e) { sounds.push_back(e); }}};
};

TEST_F(BreakScreenRun, EscapeEndsTheBreakOnlyWhenPressedTwiceWithinASecond) {
    struct Case { const char* name; bool settingOn; std::vector<double> presses; bool ends; };
    const Case cases[] = {
        {"0.8 s apart", true, {3, 3.8}, true},
        {"1.2 s apart", true, {3, 4.2}, false},
        {"exactly 1 s apart", true, {3, 4}, true},
        {"setting off", false, {3, 3.5}, false},
        {"third press after a slow pair", true, {3, 4.5, 5.2}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store.set(SettingsSchema::doubleEscapeSkipsKey, c.settingOn);
        const auto begun = clock.now();
        screen.begin(20, true, false);
        for (double press : c.presses) {
            timers.runUntil(begun + press);
            screen.escapePressed();
        }
        EXPECT_EQ(!screen.isOnScreen(), c.ends);
        screen.end(false, false);
        advance(5);
    }
}

TEST_F(BreakScreenRun, NearlyDoneSkipsCountAsTakenAndTheTierRefusesTheRest) {
    struct Case { const char* name; const char* tier; bool nearlyDone; double skipAt; std::optional<BreakEvent::Outcome> outcome; };
    const Case cases[] = {
        {"8 s left, nearly done on", "casual", true, 12, BreakEvent::Outcome::taken},
        {"12 s left, nearly done on", "casual", true, 8, BreakEvent::Outcome::skipped},
        {"8 s left, nearly done off", "casual", false, 12, BreakEvent::Outcome::skipped},
        {"hardcore still lets a nearly done break go", "hardcore", true, 12, BreakEvent::Outcome::taken},
        {"hardcore refuses a skip", "hardcore", false, 12, std::nullopt},
        {"balanced allows at 15 s", "balanced", false, 15, BreakEvent::Outcome::skipped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tier(SettingsSchema::enforcementMicroBreaksKey, c.tier);
        store.set(SettingsSchema::endNearlyDoneKey, c.nearlyDone);
        const auto before = recorded().size();
        const auto begun = clock.now();
        screen.begin(20, true, false);
        timers.runUntil(begun + c.skipAt);
        screen.skipPressed();
        if (c.outcome) {
            ASSERT_EQ(recorded().size(), before + 1);
            EXPECT_EQ(recorded().back().outcome, *c.outcome);
            EXPECT_FALSE(screen.isOnScreen());
        } else {
            EXPECT_EQ(recorded().size(), before);
            EXPECT_TRUE(screen.isOnScreen());
            EXPECT_THAT(log.lines.back(), HasSubstr("break skip refused tier=" + std::string(c.tier) + " elapsed="));
            screen.end(false, false);
        }
        advance(5);
    }
}

TEST_F(BreakScreenRun, AMicroBreakCountsDownRevealsSkipWhenAllowedAndEndsTaken) {
    tier(SettingsSchema::enforcementMicroBreaksKey, "balanced");
    screen.begin(20, true, false);
    EXPECT_THAT(windows.calls(), ElementsAre("cover display-1", "micro content on display-1", "fadeIn", "countdown 0:20"));
    EXPECT_TRUE(windows.microContent()->escapeHintVisible);
    at(15);
    EXPECT_THAT(windows.calls(), Contains("revealSkip"));
    EXPECT_THAT(windows.calls(), Contains("countdown 0:05"));
    at(20);
    ASSERT_EQ(recorded().size(), 1u);
    EXPECT_EQ(recorded()[0].outcome, BreakEvent::Outcome::taken);
    EXPECT_EQ(recorded()[0].durationSeconds, 20);
    EXPECT_TRUE(screen.isActive()) << "still fading";
    at(20.6);
    EXPECT_FALSE(screen.isActive());
    EXPECT_EQ(ended, std::vector<bool>{true});
    EXPECT_EQ(sounds, (std::vector{SoundDesign::Event::breakStart, SoundDesign::Event::breakEnd}));
    EXPECT_EQ(system.calls["lockScreen"], 0) << "micro breaks never lock";
}

TEST_F(BreakScreenRun, ADrawingCompletedOnceCountsForTheRestOfTheBreak) {
    // Completed at 170 s, "5 more min" at 100 s: the break ends at 400 s, taken, whether or not
    // the renderer goes on to hold, fade and start a new drawing, and hardcore lets it go then.
    tier(SettingsSchema::enforcementLongBreaksKey, "hardcore");
    struct Case { const char* name; bool hostStops; int extends; std::optional<double> skipAt; double endsAt; };
    const Case cases[] = {
        {"the host stops on completion", true, 1, std::nullopt, 400},
        {"the renderer starts a new drawing", false, 1, std::nullopt, 400},
        {"a skip in the extension", false, 1, 390, 390},
        {"repeated extends add up", true, 2, std::nullopt, 700},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        windows.setStopsOnCompletion(c.hostStops);
        start = clock.now();
        screen.begin(0, false, false);
        at(100);
        for (int i = 0; i < c.extends; ++i)
            screen.extendPressed();
        if (c.skipAt) {
            at(*c.skipAt);
            screen.skipPressed();
        } else {
            at(c.endsAt - 1);
            EXPECT_TRUE(screen.isOnScreen());
            at(c.endsAt);
        }
        EXPECT_FALSE(screen.isOnScreen());
        ASSERT_FALSE(recorded().empty());
        EXPECT_EQ(recorded().back().outcome, BreakEvent::Outcome::taken);
        EXPECT_EQ(recorded().back().durationSeconds, c.endsAt);
        advance(5);
    }
}

TEST_F(BreakScreenRun, ABreakAfterACompletedDrawingStartsWithNothingCarriedOver) {
    tier(SettingsSchema::enforcementMicroBreaksKey, "hardcore");
    screen.begin(0, false, false);
    at(181);
    ASSERT_EQ(recorded().size(), 1u);
    EXPECT_EQ(recorded()[0].kind, BreakEvent::Kind::long_);
    EXPECT_EQ(windows.savedDrawings(), 1);
    EXPECT_EQ(system.calls["lockScreen"], 0) << "locking is off";
    advance(5);
    start = clock.now();
    screen.begin(20, true, false);
    at(2);
    screen.skipPressed();
    EXPECT_TRUE(screen.isOnScreen()) << "hardcore refuses the skip";
    EXPECT_EQ(recorded().size(), 1u);
}

TEST_F(BreakScreenRun, SettingTheWallClockMidBreakChangesNothingAboutItsLength) {
    tier(SettingsSchema::enforcementMicroBreaksKey, "hardcore");
    tier(SettingsSchema::enforcementLongBreaksKey, "hardcore");
    struct Case { const char* name; bool micro; bool extend; double by; double endsAt; };
    const Case cases[] = {
        {"micro, an hour back", true, false, -3600, 20},
        {"micro, an hour on", true, false, 3600, 20},
        {"long, an hour back", false, false, -3600, 180},
        {"long extended, two hours on", false, true, 7200, 302},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        start = clock.now();
        screen.begin(c.micro ? 20 : 0, c.micro, false);
        at(2);
        if (c.extend)
            screen.extendPressed();
        at(5);
        timers.suspend(c.by); // the timers count elapsed time; the wall clock jumps
        screen.wallClockMoved(c.by);
        start = start + c.by;
        at(c.endsAt - 1);
        EXPECT_TRUE(screen.isOnScreen());
        at(c.endsAt);
        EXPECT_FALSE(screen.isOnScreen());
        ASSERT_FALSE(recorded().empty());
        EXPECT_EQ(recorded().back().outcome, BreakEvent::Outcome::taken);
        EXPECT_EQ(recorded().back().durationSeconds, c.endsAt);
        advance(5);
    }
    const auto t = clock.now();
    EXPECT_FALSE(BreakEscape::isDoublePress(t, t - 0.5)) << "a press before the previous one is no pair";
}

class BreakScreenWithoutRenderer : public BreakScreenRun {
protected:
    BreakScreenWithoutRenderer() : BreakScreenRun(std::nullopt) {}
};

TEST_F(BreakScreenWithoutRenderer, ALongBreakWhoseDrawingNeverCompletesEndsAtTheCeilingAsTaken) {
    screen.begin(0, false, false);
    at(899);
    EXPECT_TRUE(screen.isOnScreen());
    at(900);
    EXPECT_FALSE(screen.isOnScreen());
    EXPECT_THAT(log.lines,
                Contains("long break has no renderer; the break cannot complete on its own").Times(1));
    ASSERT_EQ(recorded().size(), 1u);
    EXPECT_EQ(recorded()[0].outcome, BreakEvent::Outcome::taken);
    EXPECT_EQ(recorded()[0].durationSeconds, 900);
    EXPECT_EQ(windows.savedDrawings(), 0);
}

TEST_F(BreakScreenRun, ABreakNotRecordedSaysWhy) {
    // The app's teardown is the simulation's check; the rule itself is the history's.
    screen.begin(0, false, true);
    at(40);
    screen.end(false, true);
    EXPECT_TRUE(recorded().empty());
    EXPECT_EQ(log.lines.back(), "break not recorded (manual break skipped) elapsed=40s");
}

TEST_F(BreakScreenRun, ALongBreakLocksRunsItsCommandsAndChimesInOrder) {
    store.set(SettingsSchema::lockScreenOnBreakStartKey, true);
    store.set("speed", 0.25); // the renderer draws at speed 1, and the log says so
    store.set(SettingsSchema::breakStartCommandKey, std::string("notify-send start"));
    store.set(SettingsSchema::breakEndCommandKey, std::string("notify-send end"));
    int lockedBeforeGrabs = 0;
    windows.setOnFadeIn([&] { lockedBeforeGrabs = system.calls["lockScreen"]; });
    screen.begin(0, false, false);
    EXPECT_EQ(system.calls["lockScreen"], 1);
    EXPECT_EQ(lockedBeforeGrabs, 1) << "the locker is asked before the windows take the keyboard";
    EXPECT_THAT(windows.calls(), Contains("screenLockRequested"));
    EXPECT_THAT(launcher.commands(), ElementsAre("notify-send start"));
    EXPECT_EQ(log.lines.front(), "long break screen shown speed=1.0 startedManually=false");
    screen.skipPressed();
    EXPECT_THAT(launcher.commands(), ElementsAre("notify-send start", "notify-send end"));
    EXPECT_EQ(sounds, (std::vector{SoundDesign::Event::breakStart, SoundDesign::Event::breakEnd}));
}

TEST_F(BreakScreenRun, TheFadeEndsTheBreakOnceAndABeginDuringItIsIgnored) {
    screen.begin(20, true, false);
    screen.skipPressed();
    EXPECT_TRUE(screen.isActive());
    screen.begin(20, true, false);
    EXPECT_EQ(log.lines.back(), "break screen begin ignored: a break is already on screen");
    advance(0.6);
    EXPECT_FALSE(screen.isActive());
    advance(5);
    EXPECT_EQ(ended.size(), 1u);
    EXPECT_EQ(timers.liveCount(), 0) << "no deadline left behind";
}

TEST_F(BreakScreenRun, TheAppTearsDownAFadingBreakAtOnce) {
    // The machine is going to sleep: a fade left running would end after the wake.
    screen.begin(20, true, false);
    screen.skipPressed();
    ASSERT_TRUE(screen.isActive());
    screen.end(false, false);
    EXPECT_FALSE(screen.isActive());
    EXPECT_EQ(ended, std::vector<bool>{true});
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_EQ(timers.liveCount(), 0);
    advance(5);
    EXPECT_EQ(ended.size(), 1u);
}

TEST_F(BreakScreenRun, AFadeThatNeverCompletesIsTornDownByTheDeadline) {
    windows.setFadesComplete(false);
    screen.begin(20, true, false);
    screen.skipPressed();
    advance(1.9);
    EXPECT_TRUE(screen.isActive());
    advance(0.1);
    EXPECT_FALSE(screen.isActive());
    EXPECT_THAT(log.lines, Contains("break fade did not complete within 2s; tearing down on the deadline"));
    EXPECT_EQ(ended.size(), 1u);
    EXPECT_TRUE(windows.windows().empty());
}

TEST_F(BreakScreenRun, WithoutDisplaysABreakIsRefusedAndNothingElseHappens) {
    windows.setDisplayCount(0);
    screen.begin(0, false, false);
    EXPECT_EQ(log.lines, std::vector<std::string>{"break screen begin refused: no displays"});
    EXPECT_FALSE(screen.isActive());
    EXPECT_TRUE(sounds.empty());
    EXPECT_TRUE(launcher.launched.empty());
}

TEST_F(BreakScreenRun, DisplaysComingAndGoingMidBreakAreReleasedAndCovered) {
    windows.setDisplayCount(2);
    screen.begin(0, false, false);
    EXPECT_THAT(windows.windows(), ElementsAre("display-1", "display-2"));

    windows.setDisplayCount(1);
    screen.screenParametersChanged();
    EXPECT_THAT(windows.windows(), ElementsAre("display-1"));
    EXPECT_EQ(log.lines.back(), "break screen released 1 window(s) whose display went away");

    windows.setDisplayCount(2);
    screen.screenParametersChanged();
    EXPECT_THAT(windows.windows(), ElementsAre("display-1", "display-3"));
    EXPECT_THAT(windows.calls(), Contains("cover display-3 opaque"));
    EXPECT_EQ(log.lines.back(), "break screen covered a display that appeared mid-break");
    EXPECT_EQ(screen.contentDisplay(), "display-1");
}

TEST_F(BreakScreenRun, TheContentMovesWhenItsDisplayGoesAway) {
    windows.setDisplayCount(0);
    windows.setDisplayCount(2); // display-2 and display-3; neither is the main one
    screen.begin(0, false, false);
    EXPECT_EQ(screen.contentDisplay(), "display-2");
    windows.setDisplayCount(0);
    windows.setDisplayCount(1); // display-4 replaces both
    screen.screenParametersChanged();
    const auto& calls = windows.calls();
    const auto moved = std::find(calls.begin(), calls.end(), "move content to display-4");
    const auto released = std::find(calls.begin(), calls.end(), "release display-2");
    ASSERT_NE(moved, calls.end());
    EXPECT_LT(moved, released) << "the drawing leaves its window before the window goes";
    EXPECT_EQ(screen.contentDisplay(), "display-4");
    at(180);
    EXPECT_FALSE(screen.isOnScreen()) << "the drawing kept its progress";
}

TEST_F(BreakScreenRun, ABreakThatLosesEveryDisplayStillEndsAndIsCoveredAgainLater) {
    screen.begin(20, true, false);
    windows.setDisplayCount(0);
    screen.screenParametersChanged();
    EXPECT_TRUE(screen.isActive());
    at(5);
    windows.setDisplayCount(1);
    screen.screenParametersChanged();
    EXPECT_THAT(windows.calls(), Contains("micro content on display-2 with skip"));
    at(20.6);
    EXPECT_EQ(ended, std::vector<bool>{true});
    EXPECT_EQ(recorded().size(), 1u);
}

} // namespace
