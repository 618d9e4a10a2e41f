// SPDX-License-Identifier: MIT
#include "core/BreakDecision.h"
#include "core/BreakGate.h"
#include "core/BreakHold.h"
#include "core/DueBreak.h"
#include "core/SmartPauseCooldown.h"

#include "support/CorePrinters.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using Block = BreakGate::Block;
using Drop = BreakDecision::DropReason;

const Instant t0 = Instant::fromSecondsSinceReferenceDate(800'000'000);

TEST(BreakDecisionDecide, FirstMatchWins) {
    struct Case {
        const char* name;
        BreakDecision::Preconditions p;
        BreakDecision expected;
    };
    const Case cases[] = {
        {"paused beats everything", {false, false, false, true, Block::smartPause, true},
         BreakDecision::drop(Drop::paused)},
        {"off hours beats display and away", {true, false, false, true, Block::smartPause, true},
         BreakDecision::drop(Drop::offHours)},
        {"display asleep beats away", {true, true, false, true, Block::smartPause, true},
         BreakDecision::drop(Drop::displayAsleep)},
        {"away beats resting", {true, true, false, true, Block::smartPause, false}, BreakDecision::drop(Drop::away)},
        {"resting beats a block", {true, true, true, true, Block::cooldown, false}, BreakDecision::ignore()},
        {"block holds", {true, true, true, false, Block::cooldown, false}, BreakDecision::holdFor(Block::cooldown)},
        {"nothing in the way commits", {true, true, true, false, std::nullopt, false}, BreakDecision::commit()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BreakDecision::decide(c.p), c.expected);
    }
    EXPECT_TRUE(BreakDecision::commitClearsFixedArm(BreakEvent::Kind::long_));
    EXPECT_FALSE(BreakDecision::commitClearsFixedArm(BreakEvent::Kind::micro));
    EXPECT_TRUE(BreakDecision::notDueDropsHeldBreak(false));
    EXPECT_FALSE(BreakDecision::notDueDropsHeldBreak(true));
}

TEST(BreakGateBlocks, ScreenTakePrecedenceAndTypingRetry) {
    struct Case {
        const char* name;
        bool smartPause;
        double cooldown;
        double sinceKey;
        std::optional<Block> expected;
    };
    const Case cases[] = {
        {"busy cause first", true, 10, 0, Block::smartPause},
        {"cooldown before typing", false, 0.5, 1, Block::cooldown},
        {"typing when key is recent", false, 0, 4.9, Block::typing},
        {"key exactly five seconds ago is free", false, 0, 5, std::nullopt},
        {"nothing", false, 0, 60, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BreakGate::screenTakeBlock(c.smartPause, c.cooldown, c.sinceKey, 5), c.expected);
    }
    EXPECT_EQ(BreakGate::startBlock(false, 0.1), Block::cooldown);
    EXPECT_EQ(BreakGate::startBlock(false, 0), std::nullopt);
    EXPECT_EQ(BreakGate::typingHoldRetry(false, 60, 5), BreakGate::Retry::abandon);
    EXPECT_EQ(BreakGate::typingHoldRetry(true, 5, 5), BreakGate::Retry::take);
    EXPECT_EQ(BreakGate::typingHoldRetry(true, 4.99, 5), BreakGate::Retry::wait);
    for (const auto block : BreakGate::allBlocks)
        EXPECT_EQ(blockFromText(text(block)), block);
    for (const auto reason : allDropReasons)
        EXPECT_EQ(dropReasonFromText(text(reason)), reason);
}

TEST(DueBreakRecordHold, PersistingHoldLogsOnceAndAlertsOnlyOnFirstExcusal) {
    DueBreak due;
    EXPECT_EQ(due.recordHold(Block::smartPause, "Call", true, t0), (DueBreak::HoldOutcome{true, true}));
    EXPECT_EQ(due.excusedSince, t0);

    EXPECT_EQ(due.recordHold(Block::smartPause, "Call", true, t0 + 10), (DueBreak::HoldOutcome{false, false}));
    EXPECT_EQ(due.hold->since, t0) << "a persisting hold keeps its start";

    EXPECT_EQ(due.recordHold(Block::smartPause, "Video", true, t0 + 20), (DueBreak::HoldOutcome{true, false}))
        << "a change of cause logs again but does not alert again";
    EXPECT_EQ(due.hold->since, t0 + 20);
    EXPECT_EQ(due.excusedSince, t0);

    DueBreak cooldownFirst;
    EXPECT_EQ(cooldownFirst.recordHold(Block::cooldown, std::nullopt, true, t0), (DueBreak::HoldOutcome{true, false}));
    EXPECT_EQ(cooldownFirst.recordHold(Block::smartPause, "Call", true, t0 + 5), (DueBreak::HoldOutcome{true, false}))
        << "the first excusal went to the cooldown";
}

TEST(DueBreakRecordHold, MicroNotBilledAsExcusedIsForgottenWithItsBlock) {
    DueBreak due;
    EXPECT_EQ(due.recordHold(Block::typing, std::nullopt, false, t0), (DueBreak::HoldOutcome{true, false}));
    EXPECT_EQ(due.excusedSince, std::nullopt);
    EXPECT_TRUE(due.isHeld());
    EXPECT_EQ(due.withoutCurrentBlock(), std::nullopt);
}

TEST(DueBreakNudge, FiresOncePerHoldCountingFromTheFirstExcusal) {
    DueBreak due;
    due.recordHold(Block::cooldown, std::nullopt, true, t0);
    due.recordHold(Block::smartPause, "Video", true, t0 + 600);
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 600 + 1799), std::nullopt);
    EXPECT_EQ(due.nudgeIfDue(true, 1800, t0 + 600 + 1800), std::nullopt) << "attended activities never nudge";
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 600 + 1800), 2400.0);
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 600 + 3600), std::nullopt) << "once per hold";

    due.recordHold(Block::smartPause, "Call", true, t0 + 5000);
    EXPECT_EQ(due.nudgeIfDue(false, 1800, t0 + 6800), 6800.0) << "a new hold may nudge again";

    DueBreak unheld;
    EXPECT_EQ(unheld.nudgeIfDue(false, 0, t0), std::nullopt);
}

TEST(DueBreakReductions, KeepOnlyWhatStillMatters) {
    DueBreak heldArm{true, t0, DueBreak::Hold{Block::smartPause, "Call", t0, true}};
    EXPECT_EQ(heldArm.withoutHold(), (DueBreak{true, std::nullopt, std::nullopt}));
    EXPECT_EQ(heldArm.withoutCurrentBlock(), (DueBreak{true, t0, std::nullopt}));
    EXPECT_EQ(heldArm.withoutFixedTimeArm(), (DueBreak{false, t0, heldArm.hold}));

    DueBreak bareArm{true, std::nullopt, std::nullopt};
    EXPECT_FALSE(bareArm.isHeld());
    EXPECT_EQ(bareArm.withoutFixedTimeArm(), std::nullopt);

    DueBreak excused{false, t0, std::nullopt};
    EXPECT_EQ(excused.withoutHold(), std::nullopt);
    EXPECT_EQ(excused.withoutCurrentBlock(), excused);
}

TEST(SmartPauseCooldownRemaining, CountsDownFromTheLastHold) {
    EXPECT_EQ(SmartPauseCooldown::remainingSeconds(t0, 0, t0), 0);
    EXPECT_EQ(SmartPauseCooldown::remainingSeconds(std::nullopt, 30, t0), 0);
    EXPECT_EQ(SmartPauseCooldown::remainingSeconds(t0, 30, t0 + 10), 20);
    EXPECT_EQ(SmartPauseCooldown::remainingSeconds(t0, 30, t0 + 45), 0);
}

TEST(BreakHoldLongBreakCanEnd, LingerCeilingAndExtension) {
    using BreakHold::longBreakCanEnd;
    const Instant start = t0;
    const Instant done = t0 + 300;
    struct Case {
        const char* name;
        std::optional<Instant> completedAt;
        Instant now;
        std::optional<Instant> extendedUntil;
        bool expected;
    };
    const Case cases[] = {
        {"still lingering", done, done + 9.9, std::nullopt, false},
        {"linger over", done, done + 10, std::nullopt, true},
        {"extension outlasts the linger", done, done + 10, done + 60, false},
        {"extension over", done, done + 60, done + 60, true},
        {"drawing unfinished before the ceiling", std::nullopt, start + 899, std::nullopt, false},
        {"ceiling reached", std::nullopt, start + 900, std::nullopt, true},
        {"extension past the ceiling", std::nullopt, start + 900, start + 1000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(longBreakCanEnd(c.completedAt, c.now, c.extendedUntil, start, 900, 10), c.expected);
    }
    EXPECT_FALSE(longBreakCanEnd(std::nullopt, t0 + 1e6, std::nullopt, std::nullopt, 900, 10));
}

TEST(BreakHoldLatch, KeepsTheFirstCompletion) {
    using BreakHold::DrawingProgress;
    EXPECT_EQ(BreakHold::drawingProgress(std::nullopt), DrawingProgress::noRenderer);
    EXPECT_EQ(BreakHold::latchCompletedAt(std::nullopt, BreakHold::drawingProgress(true), t0), t0);
    EXPECT_EQ(BreakHold::latchCompletedAt(t0, DrawingProgress::complete, t0 + 5), t0);
    EXPECT_EQ(BreakHold::latchCompletedAt(t0, BreakHold::drawingProgress(false), t0 + 5), std::nullopt);
}

} // namespace
} // namespace sorvala
