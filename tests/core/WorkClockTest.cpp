// SPDX-License-Identifier: MIT
#include "core/WorkClock.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

constexpr double threshold = 120;
const Instant t0 = *parseIso8601("2026-06-10T09:00:00Z");
const WorkClock::Intervals both{3600, 1200};
const WorkClock::Intervals longOnly{3600, 0};

// A clock that has been working since `since` with both stretches running.
WorkClock workingSince(Instant since) {
    WorkClock clock;
    clock.longStart = since;
    clock.microStart = since;
    return clock;
}

TEST(WorkClockStep, FirstPresentTickStartsTheStretchesAndFiresNothing) {
    WorkClock clock;
    EXPECT_EQ(clock.step(t0, 0, both, threshold, true), WorkClock::Action{WorkClock::None{}});
    EXPECT_EQ(clock.longStart, t0);
    EXPECT_EQ(clock.microStart, t0);

    WorkClock microOff;
    EXPECT_EQ(microOff.step(t0, 0, longOnly, threshold, true), WorkClock::Action{WorkClock::None{}});
    EXPECT_EQ(microOff.microStart, std::nullopt);
}

TEST(WorkClockStep, WhatFiresWhilePresent) {
    struct Case { const char* name; double workedSeconds; WorkClock::Intervals intervals; bool canFire; WorkClock::Action expected; };
    const Case cases[] = {
        {"nothing due", 1199, both, true, WorkClock::None{}},
        {"micro due exactly at its interval", 1200, both, true, WorkClock::FireMicro{}},
        {"both due: long wins", 3600, both, true, WorkClock::FireLong{}},
        {"long off never fires long", 7200, {0, 1200}, true, WorkClock::FireMicro{}},
        {"micro off never fires micro", 1200, longOnly, true, WorkClock::None{}},
        {"overdue but not allowed to fire", 7200, both, false, WorkClock::None{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WorkClock clock = workingSince(t0);
        EXPECT_EQ(clock.step(t0 + c.workedSeconds, 0, c.intervals, threshold, c.canFire), c.expected);
        EXPECT_EQ(clock.longStart, t0) << "a present tick never moves a running stretch";
    }
}

TEST(WorkClockAway, IdleAtTheThresholdIsAwayAndStashesTheStretches) {
    WorkClock clock = workingSince(t0);
    const Instant crossing = t0 + 1000;
    EXPECT_EQ(clock.step(crossing, threshold, both, threshold, true), WorkClock::Action{WorkClock::None{}});
    EXPECT_TRUE(clock.awayPending);
    EXPECT_EQ(clock.awayStartedAt, crossing - threshold);
    EXPECT_EQ(clock.longStart, std::nullopt);
    EXPECT_EQ(clock.microStart, std::nullopt);
    EXPECT_EQ(clock.stashedLongStart, t0);
    EXPECT_EQ(clock.stashedMicroStart, t0);

    const WorkClock before = clock;
    EXPECT_EQ(clock.step(crossing + 600, 720, both, threshold, true), WorkClock::Action{WorkClock::None{}});
    EXPECT_EQ(clock, before) << "later away ticks change nothing";

    WorkClock present = workingSince(t0);
    present.step(crossing, threshold - 0.5, both, threshold, true);
    EXPECT_FALSE(present.awayPending);
}

TEST(WorkClockAway, ReturningOffersUndoAndUndoRestoresTheStretches) {
    WorkClock clock = workingSince(t0);
    clock.step(t0 + 3000, threshold, both, threshold, true); // away since t0 + 2880
    const Instant back = t0 + 3500;
    EXPECT_EQ(clock.step(back, 0, longOnly, threshold, true), WorkClock::Action{WorkClock::ShowUndo{620}});
    EXPECT_FALSE(clock.awayPending);
    EXPECT_EQ(clock.awayStartedAt, std::nullopt);
    EXPECT_EQ(clock.longStart, back);
    EXPECT_EQ(clock.microStart, std::nullopt) << "micro breaks are off now";
    EXPECT_EQ(clock.discardedStretchSeconds(back, 620), 2880);
    EXPECT_TRUE(AwayUndo::shouldOffer(2880, 620));

    clock.undo();
    EXPECT_EQ(clock.longStart, t0);
    EXPECT_EQ(clock.microStart, t0);
    EXPECT_EQ(clock.stashedLongStart, std::nullopt);
}

TEST(WorkClockAway, TwoUnsettledAbsencesKeepTheOlderStash) {
    WorkClock clock = workingSince(t0);
    clock.step(t0 + 1000, threshold, both, threshold, true);
    clock.step(t0 + 1500, 0, both, threshold, true); // back, undo open, new stretch at t0 + 1500
    clock.step(t0 + 2000, threshold, both, threshold, true);
    EXPECT_EQ(clock.stashedLongStart, t0);
    clock.step(t0 + 2500, 0, both, threshold, true);
    clock.undo();
    EXPECT_EQ(clock.longStart, t0);
}

TEST(WorkClockAway, ReturningWhileBreaksCannotFireDropsTheStash) {
    WorkClock clock = workingSince(t0);
    clock.step(t0 + 1000, threshold, both, threshold, true);
    EXPECT_EQ(clock.step(t0 + 1500, 0, both, threshold, false), WorkClock::Action{WorkClock::None{}});
    EXPECT_EQ(clock.stashedLongStart, std::nullopt);
    EXPECT_EQ(clock.stashedMicroStart, std::nullopt);
    EXPECT_EQ(clock.longStart, t0 + 1500);
}

TEST(WorkClockAway, AnAbsenceBeforeAnyWorkIsNeverWorthUndoing) {
    WorkClock clock;
    clock.step(t0, 500, both, threshold, true);
    const auto action = clock.step(t0 + 100, 0, both, threshold, true);
    ASSERT_TRUE(std::holds_alternative<WorkClock::ShowUndo>(action));
    const double away = std::get<WorkClock::ShowUndo>(action).awaySeconds;
    EXPECT_EQ(away, 600);
    EXPECT_EQ(clock.discardedStretchSeconds(t0 + 100, away), 0);
    EXPECT_FALSE(AwayUndo::shouldOffer(0, 0));
    EXPECT_FALSE(AwayUndo::shouldOffer(300, 300)) << "strictly more work than absence";
    EXPECT_TRUE(AwayUndo::shouldOffer(300.5, 300));
}

TEST(WorkClockPostpone, OverdueAndRemainingStretches) {
    const WorkClock::Intervals longFirst{3600, 0};
    WorkClock overdue;
    overdue.longStart = t0 - 3900; // 300 s overdue
    overdue.postpone(300, t0, longFirst);
    EXPECT_EQ(overdue.secondsUntilNextBreak(t0, longFirst), 300);

    WorkClock tenLeft;
    tenLeft.longStart = t0 - 3000;
    tenLeft.postpone(300, t0, longFirst);
    EXPECT_EQ(tenLeft.secondsUntilNextBreak(t0, longFirst), 600 + 300);

    WorkClock mixed;
    mixed.longStart = t0 - 100;
    mixed.postpone(300, t0, {0, 1200});
    EXPECT_EQ(mixed.longStart, t0 + 200) << "a stretch with no interval just moves";
    EXPECT_EQ(mixed.microStart, std::nullopt) << "an empty stretch stays empty";
}

TEST(WorkClockCountdown, TheNearerBreakWins) {
    WorkClock clock = workingSince(t0);
    EXPECT_EQ(clock.secondsUntilNextBreak(t0 + 100, both), 1100);
    EXPECT_EQ(clock.secondsUntilNextBreak(t0, {0, 0}), std::nullopt);
    EXPECT_EQ(WorkClock{}.secondsUntilNextBreak(t0, both), std::nullopt);
    EXPECT_EQ(clock.secondsWorkedLong(t0 - 10), 0);
    EXPECT_EQ(WorkClock{}.secondsWorkedLong(t0), 0);
}

} // namespace
} // namespace sorvala
