// SPDX-License-Identifier: MIT
#include "core/BreakDecision.h"
#include "core/BreakHold.h"
#include "core/DueBreak.h"
#include "core/EnforcementTier.h"
#include "core/SnoozeRequest.h"

#include "support/CorePrinters.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using Block = BreakGate::Block;
using Drop = BreakDecision::DropReason;
using Outcome = DueBreak::HoldOutcome;
const Instant t0 = Instant::fromSecondsSinceReferenceDate(800'000'000);

TEST(BreakDecisionDecide, FirstMatchWins) {
    const std::pair<BreakDecision::Preconditions, BreakDecision> cases[] = {
        {{false, false, false, true, Block::smartPause, true}, BreakDecision::drop(Drop::paused)},
        {{true, false, false, true, Block::smartPause, true}, BreakDecision::drop(Drop::offHours)},
        {{true, true, false, true, Block::smartPause, true}, BreakDecision::drop(Drop::displayAsleep)},
        {{true, true, false, true, Block::smartPause, false}, BreakDecision::drop(Drop::away)},
        {{true, true, true, true, Block::cooldown, false}, BreakDecision::ignore()},
        {{true, true, true, false, Block::cooldown, false}, BreakDecision::hold(Block::cooldown)},
        {{true, true, true, false, std::nullopt, false}, BreakDecision::commit()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(BreakDecision::decide(cases[i].first), cases[i].second) << "rule " << i + 1;
}

TEST(BreakGateBlocks, ScreenTakePrecedenceAndTypingRetry) {
    EXPECT_EQ(BreakGate::screenTakeBlock(true, 10, 0, 5), Block::smartPause);
    EXPECT_EQ(BreakGate::screenTakeBlock(false, 0.5, 1, 5), Block::cooldown);
    EXPECT_EQ(BreakGate::screenTakeBlock(false, 0, 4.9, 5), Block::typing);
    EXPECT_EQ(BreakGate::screenTakeBlock(false, 0, 5, 5), std::nullopt);
    EXPECT_EQ(BreakGate::typingHoldRetry(false, 60, 5), BreakGate::Retry::abandon);
    EXPECT_EQ(BreakGate::typingHoldRetry(true, 5, 5), BreakGate::Retry::take);
    EXPECT_EQ(BreakGate::typingHoldRetry(true, 4.9, 5), BreakGate::Retry::wait);
}

TEST(DueBreakRecordHold, PersistingHoldLogsOnceAndAlertsOnlyOnFirstExcusal) {
    DueBreak due;
    EXPECT_EQ(due.recordHold(Block::smartPause, "Call", true, t0), (Outcome{true, true}));
    EXPECT_EQ(due.recordHold(Block::smartPause, "Call", true, t0 + 10), (Outcome{false, false}));
    EXPECT_EQ(due.hold->since, t0) << "a persisting hold keeps its start";
    EXPECT_EQ(due.recordHold(Block::smartPause, "Video", true, t0 + 20), (Outcome{true, false}));
    EXPECT_EQ(due.excusedSince, t0);

    DueBreak notBilled;
    EXPECT_EQ(notBilled.recordHold(Block::typing, std::nullopt, false, t0), (Outcome{true, false}));
    EXPECT_EQ(notBilled.excusedSince, std::nullopt);
    EXPECT_EQ(notBilled.withoutCurrentBlock(), std::nullopt);
}

TEST(DueBreakNudge, FiresOncePerHoldCountingFromTheFirstExcusal) {
    DueBreak due;
    due.recordHold(Block::cooldown, std::nullopt, true, t0);
    due.recordHold(Block::smartPause, "Video", true, t0 + 600);
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 2399), std::nullopt);
    EXPECT_EQ(due.nudgeIfDue(true, 1800, t0 + 2400), std::nullopt) << "attended activities never nudge";
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 2400), 2400.0);
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 4000), std::nullopt) << "once per hold";
    due.recordHold(Block::smartPause, "Call", true, t0 + 5000);
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 6800), 6800.0) << "a new hold may nudge again";
}

TEST(DueBreakReductions, KeepOnlyWhatStillMatters) {
    const DueBreak heldArm{true, t0, DueBreak::Hold{Block::smartPause, "Call", t0, true}};
    EXPECT_EQ(heldArm.withoutHold(), (DueBreak{true, std::nullopt, std::nullopt}));
    EXPECT_EQ(heldArm.withoutCurrentBlock(), (DueBreak{true, t0, std::nullopt}));
    EXPECT_EQ(heldArm.withoutFixedTimeArm(), (DueBreak{false, t0, heldArm.hold}));
    EXPECT_EQ((DueBreak{true, std::nullopt, std::nullopt}.withoutFixedTimeArm()), std::nullopt);
    EXPECT_EQ((DueBreak{false, t0, std::nullopt}.withoutHold()), std::nullopt);
}

TEST(BreakHoldLongBreakCanEnd, LingerCeilingAndExtension) {
    const Instant done = t0 + 300;
    const std::tuple<std::optional<Instant>, Instant, std::optional<Instant>, bool> cases[] = {
        {done, done + 9.9, std::nullopt, false},     {done, done + 10, std::nullopt, true},
        {done, done + 10, done + 60, false},         {done, done + 60, done + 60, true},
        {std::nullopt, t0 + 899, std::nullopt, false}, {std::nullopt, t0 + 900, std::nullopt, true},
        {std::nullopt, t0 + 900, t0 + 1000, false},
    };
    for (const auto& [completedAt, now, extendedUntil, canEnd] : cases)
        EXPECT_EQ(BreakHold::longBreakCanEnd(completedAt, now, extendedUntil, t0, 900, 10), canEnd)
            << "at " << (now - t0) << " s";
    EXPECT_EQ(BreakHold::latchCompletedAt(t0, BreakHold::drawingProgress(true), t0 + 5), t0);
    EXPECT_EQ(BreakHold::latchCompletedAt(t0, BreakHold::drawingProgress(std::nullopt), t0 + 5), std::nullopt);
}

TEST(SnoozeBudgetRemaining, LimitsAndCounts) {
    // session limit, daily limit, session count, daily count, remaining
    const std::tuple<int, int, int, int, std::optional<int>> cases[] = {
        {0, 0, 50, 50, std::nullopt}, {-1, -3, 2, 2, std::nullopt}, {3, 0, 3, 100, 0},
        {5, 4, 1, 4, 0},              {0, 4, 9, 1, 3},              {3, 0, 7, 0, 0},
    };
    for (const auto& [session, daily, sessionCount, dailyCount, remaining] : cases) {
        const SnoozeBudget budget{session, daily};
        SCOPED_TRACE(testing::Message() << session << "/" << daily << " after " << sessionCount << "/" << dailyCount);
        EXPECT_EQ(budget.remaining(sessionCount, dailyCount), remaining);
        const auto verdict = SnoozeRequest::verdict(5, SnoozeRequest::Source::menu, budget, sessionCount, dailyCount);
        EXPECT_EQ(SnoozeRequest::grantedMinutes(verdict), remaining == 0 ? std::nullopt : std::optional<int>(5));
    }
}

TEST(EnforcementTierRules, StoredWordsAndSkipping) {
    EXPECT_EQ(storedEnforcementTier(std::string("hardcore")), EnforcementTier::hardcore);
    EXPECT_EQ(storedEnforcementTier(std::string("strict")), EnforcementTier::casual);
    EXPECT_FALSE(canSkip(EnforcementTier::balanced, 14.9));
    EXPECT_TRUE(canSkip(EnforcementTier::balanced, 15));
}

} // namespace
} // namespace sorvala
