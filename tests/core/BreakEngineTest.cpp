// SPDX-License-Identifier: MIT
#include "core/BreakEngine.h"
#include "core/SettingsKeys.h"
#include "core/SmartPauseCooldown.h"

#include "support/CoreDefaults.h"
#include "support/CorePrinters.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using Kind = BreakEvent::Kind;
using Block = BreakGate::Block;
using Reason = Diagnostics::SuppressedTickReason;
using E = BreakEngine;
using Effects = BreakEngine::Effects;
const Instant t0 = Instant::fromSecondsSinceReferenceDate(800'000'000);

E::Facts at(double seconds, bool allowed = true, bool inHours = true, bool resting = false, double idle = 0) {
    return E::Facts{t0 + seconds, allowed, inHours, resting, idle, false, std::nullopt};
}
E::World worldAt(double seconds, std::optional<std::string> cause = std::nullopt, double sinceKeyDown = 60) {
    const bool attended = cause == "Meeting";
    return E::World{at(seconds), sinceKeyDown, std::move(cause), attended, 0};
}

class BreakEngineTest : public ::testing::Test {
protected:
    BreakEngineTest() {
        registerCoreDefaults(store);
        engine.startFreshWorkStretch(t0);
    }
    MemoryPreferences store;
    BreakEngine engine{store};
};

TEST_F(BreakEngineTest, HeldBreakIsReleasedWithTheReasonOfTheTick) {
    const std::pair<E::Facts, Effects> cases[] = {
        {at(1210, false, true, true), {E::TickSuppressionChanged{Reason::paused}, E::HoldDropped{"paused"}}},
        {at(1210, true, false), {E::TickSuppressionChanged{Reason::offHours}, E::HoldDropped{"offHours"}}},
        {at(1210, true, true, false, 130), {E::HideAwayUndo{}, E::HoldDropped{"away"}}},
    };
    for (const auto& [facts, expected] : cases) {
        BreakEngine e{store};
        e.startFreshWorkStretch(t0);
        e.decide(Kind::micro, worldAt(1200, "Call"));
        EXPECT_EQ(e.tick(facts), expected);
        EXPECT_EQ(e.dueBreak(), std::nullopt);
    }
    engine.decide(Kind::micro, worldAt(1200, "Call"));
    engine.startFreshMicroCadence(t0 + 1205);
    EXPECT_EQ(engine.tick(at(1210)), (Effects{E::HoldDropped{"notDue"}}));
    EXPECT_EQ(engine.abandonHold("away"), Effects{}) << "nothing held, nothing to say";
}

TEST_F(BreakEngineTest, LongBeforeMicroAndEveryThirdMicroFiringIsLong) {
    std::vector<Kind> kinds;
    for (int round = 1; round <= 4; ++round) {
        const Effects effects = engine.tick(at(1200.0 * round));
        ASSERT_EQ(effects.size(), 1u);
        kinds.push_back(std::get<E::BreakDue>(effects[0]).kind);
        engine.breakEnded(kinds.back());
        engine.startFreshMicroCadence(t0 + 1200.0 * round);
    }
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::micro, Kind::micro, Kind::long_, Kind::micro}));
}

TEST_F(BreakEngineTest, PlannedArmIsAnnouncedOnEveryAllowedTickUntilALongCommit) {
    engine.armFixedTimeBreak();
    EXPECT_EQ(engine.tick(at(10)), (Effects{E::BreakDue{Kind::long_}}));
    EXPECT_EQ(engine.tick(at(1200)), (Effects{E::BreakDue{Kind::long_}})) << "a micro firing becomes the long";

    engine.decide(Kind::long_, worldAt(1220, "Call"));
    engine.startFreshMicroCadence(t0 + 1220);
    EXPECT_EQ(engine.tick(at(1230)), (Effects{E::BreakDue{Kind::long_}}))
        << "a held arm is not released when nothing is due";
    engine.decide(Kind::micro, worldAt(1240));
    EXPECT_TRUE(engine.dueBreak()->isFixedTime) << "a micro commit leaves the arm";
    engine.decide(Kind::long_, worldAt(1250));
    EXPECT_EQ(engine.tick(at(1260)), Effects{});
}

TEST_F(BreakEngineTest, ReturnFromAwayOffersUndoOnlyWhenWorthIt) {
    for (const auto& [worked, expected] : {std::pair<double, E::Effect>{900, E::OfferAwayUndo{600}},
                                           std::pair<double, E::Effect>{300, E::CreditAwayRest{600}}}) {
        BreakEngine e{store};
        e.startFreshWorkStretch(t0);
        EXPECT_EQ(e.tick(at(worked + 130, true, true, false, 130)), (Effects{E::HideAwayUndo{}}));
        EXPECT_EQ(e.tick(at(worked + 600)), Effects{expected});
        EXPECT_EQ(e.workClock().stashedLongStart.has_value(), worked == 900) << "a credited rest keeps no undo";
    }
}

TEST_F(BreakEngineTest, DecideDropsIgnoresAndCommitsAfterAHold) {
    engine.decide(Kind::long_, worldAt(1200, "Call"));
    auto asleep = worldAt(1210);
    asleep.facts.displayAsleep = true;
    asleep.facts.idleSeconds = 500;
    EXPECT_EQ(engine.decide(Kind::long_, asleep),
              (Effects{E::BreakDropped{Kind::long_, BreakDecision::DropReason::displayAsleep},
                       E::HoldDropped{"displayAsleep"}}));

    engine.decide(Kind::long_, worldAt(1220, "Call"));
    const auto held = engine.dueBreak();
    auto resting = worldAt(1230, "Call");
    resting.facts.resting = true;
    EXPECT_EQ(engine.decide(Kind::long_, resting), (Effects{E::BreakIgnored{Kind::long_}}));
    EXPECT_EQ(engine.dueBreak(), held);
    EXPECT_EQ(engine.decide(Kind::long_, worldAt(1240)), (Effects{E::Commit{Kind::long_, t0 + 1220}}));
}

TEST_F(BreakEngineTest, HoldAlertsOnceAndNudgesAfterHalfAnHour) {
    EXPECT_EQ(engine.decide(Kind::long_, worldAt(1200, "Video")),
              (Effects{E::BreakHeld{Kind::long_, Block::smartPause, "Video"}, E::AlertSmartPauseHold{"Video"}}));
    EXPECT_EQ(engine.decide(Kind::long_, worldAt(1210, "Video")), Effects{});
    auto cooling = worldAt(1220);
    cooling.cooldownRemaining = 20;
    engine.decide(Kind::long_, cooling);
    EXPECT_EQ(engine.lastSmartPauseBlockedAt(), t0 + 1210) << "only a busy hold restarts the cooldown";
    engine.decide(Kind::long_, worldAt(1230, "Call"));
    EXPECT_EQ(engine.decide(Kind::long_, worldAt(3030, "Call")), (Effects{E::AlertBlockerStillHolding{"Call", 30}}))
        << "1830 s since the first hold";
}

TEST_F(BreakEngineTest, ScreenTakeHoldsOrClaimsWithTheExcusalWhenBilled) {
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1200, std::nullopt, 1)),
              (Effects{E::Commit{Kind::micro, std::nullopt}, E::BreakHeld{Kind::micro, Block::typing, std::nullopt}}))
        << "typing holds a micro break without a retry";
    EXPECT_EQ(engine.screenTake(Kind::long_, worldAt(1210, std::nullopt, 1)), (Effects{E::RetryTypingHold{}}));

    engine.decide(Kind::micro, worldAt(1300, "Call"));
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1400)),
              (Effects{E::Commit{Kind::micro, t0 + 1200}, E::ClaimScreen{Kind::micro, t0 + 1200}}))
        << "with the cycle on a micro break is billed as excused from its first hold";

    store.set(SettingsSchema::breakCycleEnabledKey, false);
    engine.armFixedTimeBreak();
    engine.screenTake(Kind::micro, worldAt(1500, std::nullopt, 0));
    EXPECT_EQ(engine.screenTake(Kind::micro, worldAt(1510)), (Effects{E::ClaimScreen{Kind::micro, std::nullopt}}));
    EXPECT_EQ(engine.dueBreak(), (DueBreak{true, std::nullopt, std::nullopt})) << "the arm outlives the micro break";
}

TEST_F(BreakEngineTest, SnoozePostponesCountsAndKeepsTheBadgeDismissed) {
    store.set(SettingsSchema::breakCycleEnabledKey, false);
    engine.dismissOvertimeBadge(t0 + 1300);
    engine.snooze(300, t0 + 1300);
    engine.snooze(60, t0 + 1300);
    EXPECT_EQ(engine.snoozeCount(), 2);
    EXPECT_EQ(engine.secondsUntilNextBreak(t0 + 1300, std::nullopt), 360.0);
    EXPECT_EQ(engine.secondsUntilNextBreak(t0 + 1300, t0 + 1200), -100.0) << "an overdue planned break";
    EXPECT_TRUE(engine.isOvertimeDismissed());
    engine.startFreshWorkStretch(t0 + 2000);
    EXPECT_FALSE(engine.isOvertimeDismissed()) << "a new stretch re-arms the badge";
}

TEST_F(BreakEngineTest, TheEndOfTheWorkingDayDropsTheHeldPlannedBreakWithItsArm) {
    engine.armFixedTimeBreak();
    engine.decide(Kind::long_, worldAt(600, "Call"));
    EXPECT_EQ(engine.tick(at(700, true, false)),
              (Effects{E::TickSuppressionChanged{Reason::offHours}, E::HoldDropped{"offHours"}}));
    EXPECT_EQ(engine.dueBreak(), std::nullopt);
    EXPECT_EQ(engine.tick(at(800)), (Effects{E::TickSuppressionChanged{std::nullopt}}))
        << "the next working day starts without the planned break";
}

TEST_F(BreakEngineTest, AHoldTheClockWasSetBackPastCountsAsNow) {
    engine.decide(Kind::long_, worldAt(1200, "Call"));
    const Instant setBack = t0 + 1210 - 3600;
    EXPECT_EQ(engine.smartPauseCooldownAnchor(setBack), setBack);
    EXPECT_EQ(SmartPauseCooldown::remainingSeconds(engine.smartPauseCooldownAnchor(setBack + 31), 30, setBack + 31), 0)
        << "the cooldown lasts its own length from the set-back, not the hour";
    EXPECT_EQ(engine.smartPauseCooldownAnchor(t0 + 2000), setBack) << "a hold in the past stays where it was";
}

TEST_F(BreakEngineTest, SettingTheWallClockMovesTheStretchWithIt) {
    const auto before = engine.secondsUntilNextBreak(t0 + 600, std::nullopt);
    engine.wallClockMoved(-3600);
    EXPECT_EQ(engine.secondsUntilNextBreak(t0 + 600 - 3600, std::nullopt), before);
}

TEST_F(BreakEngineTest, AMicroBreakTypingKeepsHeldIsNotReportedClearedUntilItTakesTheScreen) {
    engine.decide(Kind::micro, worldAt(1200, "Call"));
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1300, std::nullopt, 1)),
              (Effects{E::Commit{Kind::micro, std::nullopt}, E::BreakHeld{Kind::micro, Block::typing, std::nullopt}}));
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1310, std::nullopt, 2)), (Effects{E::Commit{Kind::micro, std::nullopt}}));
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1320)),
              (Effects{E::Commit{Kind::micro, t0 + 1200}, E::ClaimScreen{Kind::micro, t0 + 1200}}));
}

TEST(BreakEngineFacts, PresenceEndsAtExactlyTwoMinutesWithoutInput) {
    const std::pair<double, bool> cases[] = {{0, true}, {119.9, true}, {120, false}, {500, false}};
    for (const auto& [idle, present] : cases) {
        SCOPED_TRACE(idle);
        EXPECT_EQ(at(1000, true, true, false, idle).isPresent(), present);
    }
    auto proven = at(1000, true, true, false, 500);
    proven.presenceLastProvenAt = t0 + 880;
    EXPECT_FALSE(proven.isPresent()) << "proved present 120 s ago is no longer present";
}

} // namespace
} // namespace sorvala
