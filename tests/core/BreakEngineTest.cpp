// SPDX-License-Identifier: MIT
#include "core/BreakEngine.h"
#include "core/SettingsKeys.h"

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

class BreakEngineTest : public ::testing::Test {
protected:
    BreakEngineTest() {
        registerCoreDefaults(store);
        engine.startFreshWorkStretch(t0);
    }

    static E::Facts at(double seconds) {
        E::Facts facts;
        facts.now = t0 + seconds;
        return facts;
    }
    static E::World worldAt(double seconds) {
        E::World world;
        world.facts = at(seconds);
        world.secondsSinceKeyDown = 60;
        return world;
    }
    static E::World busyAt(double seconds, const char* cause = "Call", bool attended = false) {
        E::World world = worldAt(seconds);
        world.smartPauseCause = cause;
        world.smartPauseIsAttendedActivity = attended;
        return world;
    }
    void cycleOff() { store.set(SettingsSchema::breakCycleEnabledKey, false); }

    MemoryPreferences store;
    BreakEngine engine{store};
};

TEST_F(BreakEngineTest, SuppressionIsReportedOncePerChange) {
    auto paused = at(10);
    paused.schedulingAllowed = false;
    EXPECT_EQ(engine.tick(paused), (Effects{E::TickSuppressionChanged{Reason::paused}}));
    paused.now = t0 + 20;
    EXPECT_EQ(engine.tick(paused), Effects{});

    auto offHours = at(30);
    offHours.withinWorkingHours = false;
    offHours.resting = true; // off hours is named before resting
    EXPECT_EQ(engine.tick(offHours), (Effects{E::TickSuppressionChanged{Reason::offHours}}));
    EXPECT_EQ(engine.tick(at(40)), (Effects{E::TickSuppressionChanged{std::nullopt}}));
    EXPECT_EQ(engine.tick(at(50)), Effects{});
}

TEST_F(BreakEngineTest, RestingStopsTheWorkClock) {
    auto resting = at(5000);
    resting.resting = true;
    const WorkClock before = engine.workClock();
    EXPECT_EQ(engine.tick(resting), (Effects{E::TickSuppressionChanged{Reason::resting}}));
    EXPECT_EQ(engine.workClock(), before);
}

TEST_F(BreakEngineTest, HeldBreakIsReleasedWithTheReasonOfTheTick) {
    struct Case {
        const char* name;
        E::Facts facts;
        Effects expected;
    };
    auto paused = at(1210);
    paused.schedulingAllowed = false;
    auto offHours = at(1210);
    offHours.withinWorkingHours = false;
    auto away = at(1210);
    away.idleSeconds = 130;
    auto pausedResting = paused;
    pausedResting.resting = true;
    const Case cases[] = {
        {"paused", paused, {E::TickSuppressionChanged{Reason::paused}, E::HoldDropped{"paused"}}},
        {"paused while resting", pausedResting, {E::TickSuppressionChanged{Reason::paused}, E::HoldDropped{"paused"}}},
        {"off hours", offHours, {E::TickSuppressionChanged{Reason::offHours}, E::HoldDropped{"offHours"}}},
        {"user away", away, {E::HideAwayUndo{}, E::HoldDropped{"away"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BreakEngine e{store};
        e.startFreshWorkStretch(t0);
        e.decide(Kind::micro, busyAt(1200));
        ASSERT_TRUE(e.dueBreak() && e.dueBreak()->isHeld());
        EXPECT_EQ(e.tick(c.facts), c.expected);
        EXPECT_EQ(e.dueBreak(), std::nullopt);
    }

    // Not due any more: the micro stretch restarted under the held break.
    engine.decide(Kind::micro, busyAt(1200));
    engine.startFreshMicroCadence(t0 + 1205);
    EXPECT_EQ(engine.tick(at(1210)), (Effects{E::HoldDropped{"notDue"}}));
    EXPECT_EQ(engine.abandonHold("away"), Effects{}) << "nothing held, nothing to say";
}

TEST_F(BreakEngineTest, LongBeatsMicroOnTheSameTick) {
    cycleOff();
    EXPECT_EQ(engine.tick(at(1200)), (Effects{E::BreakDue{Kind::long_}}));
}

TEST_F(BreakEngineTest, EveryThirdMicroFiringIsTheLongBreak) {
    std::vector<Kind> kinds;
    for (int round = 0; round < 4; ++round) {
        const double now = 1200.0 * (round + 1);
        const Effects effects = engine.tick(at(now));
        ASSERT_EQ(effects.size(), 1u);
        kinds.push_back(std::get<E::BreakDue>(effects[0]).kind);
        engine.breakEnded(kinds.back());
        engine.startFreshMicroCadence(t0 + now);
    }
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::micro, Kind::micro, Kind::long_, Kind::micro}));
}

TEST_F(BreakEngineTest, PlannedArmIsAnnouncedOnEveryAllowedTickUntilALongCommit) {
    engine.armFixedTimeBreak();
    EXPECT_EQ(engine.tick(at(10)), (Effects{E::BreakDue{Kind::long_}}));
    EXPECT_EQ(engine.tick(at(1200)), (Effects{E::BreakDue{Kind::long_}})) << "a micro firing becomes the long";

    auto offHours = at(1210);
    offHours.withinWorkingHours = false;
    EXPECT_EQ(engine.tick(offHours), (Effects{E::TickSuppressionChanged{Reason::offHours}}));

    // Held by a cause, the arm keeps the hold through ticks that find nothing due.
    engine.decide(Kind::long_, busyAt(1220));
    engine.startFreshMicroCadence(t0 + 1220);
    EXPECT_EQ(engine.tick(at(1230)), (Effects{E::TickSuppressionChanged{std::nullopt}, E::BreakDue{Kind::long_}}));
    ASSERT_TRUE(engine.dueBreak()->hold);

    // A micro commit leaves the arm; a long one consumes it.
    engine.decide(Kind::micro, worldAt(1240));
    EXPECT_TRUE(engine.dueBreak()->isFixedTime);
    engine.decide(Kind::long_, worldAt(1250));
    EXPECT_FALSE(engine.dueBreak() && engine.dueBreak()->isFixedTime);
    EXPECT_EQ(engine.tick(at(1260)), Effects{});
}

TEST_F(BreakEngineTest, ReturnFromAwayOffersUndoOnlyWhenWorthIt) {
    struct Case {
        const char* name;
        double workedBeforeLeaving;
        Effects expected;
    };
    // Away from idle start at worked + 0 for 600 s (crossing seen 130 s in).
    const Case cases[] = {
        {"threw away more work than the absence", 900, {E::OfferAwayUndo{600}}},
        {"absence outlasts the discarded work", 300, {E::CreditAwayRest{600}}},
    };
    cycleOff();
    store.set(SettingsSchema::reminderMinutesKey, std::int64_t{60});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BreakEngine e{store};
        e.startFreshWorkStretch(t0);
        auto crossing = at(c.workedBeforeLeaving + 130);
        crossing.idleSeconds = 130;
        EXPECT_EQ(e.tick(crossing), (Effects{E::HideAwayUndo{}}));
        EXPECT_TRUE(e.userSteppedAway());
        EXPECT_EQ(e.tick(at(c.workedBeforeLeaving + 600)), c.expected);
        EXPECT_EQ(e.workClock().stashedLongStart.has_value(),
                  std::holds_alternative<E::OfferAwayUndo>(c.expected.front()));
    }
}

TEST_F(BreakEngineTest, DecideDropsIgnoresHoldsAndCommits) {
    engine.decide(Kind::long_, busyAt(1200));
    auto asleep = worldAt(1210);
    asleep.facts.displayAsleep = true;
    asleep.facts.idleSeconds = 500;
    EXPECT_EQ(engine.decide(Kind::long_, asleep),
              (Effects{E::BreakDropped{Kind::long_, BreakDecision::DropReason::displayAsleep},
                       E::HoldDropped{"displayAsleep"}}));
    EXPECT_EQ(engine.dueBreak(), std::nullopt);

    engine.decide(Kind::long_, busyAt(1220));
    const auto held = engine.dueBreak();
    auto resting = busyAt(1230);
    resting.facts.resting = true;
    EXPECT_EQ(engine.decide(Kind::long_, resting), (Effects{E::BreakIgnored{Kind::long_}}));
    EXPECT_EQ(engine.dueBreak(), held);

    EXPECT_EQ(engine.decide(Kind::long_, worldAt(1240)), (Effects{E::Commit{Kind::long_, t0 + 1220}}))
        << "a commit after a hold reports when it was first held";
}

TEST_F(BreakEngineTest, HoldAlertsOnceAndNudgesAfterHalfAnHour) {
    EXPECT_EQ(engine.decide(Kind::long_, busyAt(1200, "Video")),
              (Effects{E::BreakHeld{Kind::long_, Block::smartPause, "Video"}, E::AlertSmartPauseHold{"Video"}}));
    EXPECT_EQ(engine.lastSmartPauseBlockedAt(), t0 + 1200);
    EXPECT_EQ(engine.holdingBlock(), Block::smartPause);
    EXPECT_EQ(engine.decide(Kind::long_, busyAt(1210, "Video")), Effects{});
    EXPECT_EQ(engine.lastSmartPauseBlockedAt(), t0 + 1210) << "every busy hold restarts the cooldown";

    auto cooling = worldAt(1220);
    cooling.cooldownRemaining = 20;
    EXPECT_EQ(engine.decide(Kind::long_, cooling), (Effects{E::BreakHeld{Kind::long_, Block::cooldown, std::nullopt}}));
    EXPECT_EQ(engine.lastSmartPauseBlockedAt(), t0 + 1210) << "a cooldown hold does not restart it";

    EXPECT_EQ(engine.decide(Kind::long_, busyAt(1230, "Call")),
              (Effects{E::BreakHeld{Kind::long_, Block::smartPause, "Call"}}));
    EXPECT_EQ(engine.decide(Kind::long_, busyAt(1230 + 1800, "Call")),
              (Effects{E::AlertBlockerStillHolding{"Call", 30}}))
        << "counted from the first hold: 1830 s is 30 whole minutes";
    EXPECT_EQ(engine.decide(Kind::long_, busyAt(1230 + 3600, "Call")), Effects{});

    BreakEngine attended{store};
    attended.decide(Kind::long_, busyAt(0, "Meeting", true));
    EXPECT_EQ(attended.decide(Kind::long_, busyAt(4000, "Meeting", true)), Effects{});
}

TEST_F(BreakEngineTest, MicroCommitTakesTheScreenAtOnceOrHoldsWithoutRetry) {
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1200)),
              (Effects{E::Commit{Kind::micro, std::nullopt}, E::ClaimScreen{Kind::micro, std::nullopt}}));

    auto typing = worldAt(2400);
    typing.secondsSinceKeyDown = 1;
    EXPECT_EQ(engine.decide(Kind::micro, typing),
              (Effects{E::Commit{Kind::micro, std::nullopt}, E::BreakHeld{Kind::micro, Block::typing, std::nullopt}}));
    BreakEngine other{store};
    EXPECT_EQ(other.screenTake(Kind::long_, typing),
              (Effects{E::BreakHeld{Kind::long_, Block::typing, std::nullopt}, E::RetryTypingHold{}}));
}

TEST_F(BreakEngineTest, ScreenTakeCarriesTheExcusalOnlyForBreaksBilledAsExcused) {
    // The cycle rides the micro breaks: a held micro break is billed like a long one.
    engine.decide(Kind::micro, busyAt(1200));
    EXPECT_EQ(engine.decide(Kind::micro, worldAt(1300)),
              (Effects{E::Commit{Kind::micro, t0 + 1200}, E::ClaimScreen{Kind::micro, t0 + 1200}}));
    EXPECT_EQ(engine.dueBreak(), std::nullopt);

    cycleOff();
    auto typing = worldAt(1400);
    typing.secondsSinceKeyDown = 0;
    engine.armFixedTimeBreak();
    engine.screenTake(Kind::micro, typing);
    EXPECT_EQ(engine.screenTake(Kind::micro, worldAt(1410)), (Effects{E::ClaimScreen{Kind::micro, std::nullopt}}));
    EXPECT_EQ(engine.dueBreak(), (DueBreak{true, std::nullopt, std::nullopt})) << "the arm outlives the micro break";

    engine.screenTake(Kind::long_, busyAt(1420));
    EXPECT_EQ(engine.screenTake(Kind::long_, worldAt(1430)), (Effects{E::ClaimScreen{Kind::long_, t0 + 1420}}));
    EXPECT_EQ(engine.dueBreak(), (DueBreak{true, std::nullopt, std::nullopt}));

    auto asleep = worldAt(1440);
    asleep.facts.displayAsleep = true;
    EXPECT_EQ(engine.screenTake(Kind::long_, asleep),
              (Effects{E::BreakDropped{Kind::long_, BreakDecision::DropReason::displayAsleep}}));
    EXPECT_EQ(engine.dueBreak(), std::nullopt);
}

TEST_F(BreakEngineTest, SnoozePostponesCountsAndKeepsTheBadgeDismissed) {
    cycleOff();
    engine.dismissOvertimeBadge(t0 + 1300);
    EXPECT_TRUE(engine.isOvertimeDismissed());
    engine.snooze(300, t0 + 1300);
    EXPECT_EQ(engine.snoozeCount(), 1);
    EXPECT_EQ(engine.secondsUntilNextBreak(t0 + 1300, std::nullopt), 300.0);
    EXPECT_TRUE(engine.isOvertimeDismissed());

    engine.snooze(60, t0 + 1300); // nothing was due: still counted
    EXPECT_EQ(engine.snoozeCount(), 2);
    engine.breakAnnounced();
    EXPECT_EQ(engine.snoozeCount(), 0);

    engine.startFreshWorkStretch(t0 + 2000);
    EXPECT_FALSE(engine.isOvertimeDismissed()) << "a new stretch re-arms the badge";
}

TEST_F(BreakEngineTest, ViewsReadTheStoreAtEachUse) {
    EXPECT_EQ(engine.intervals(), (WorkClock::Intervals{0, 1200}));
    EXPECT_EQ(engine.snoozeBudget(), (SnoozeBudget{3, 0}));
    store.set(SettingsSchema::microMinutesKey, std::int64_t{0});
    store.set(SettingsSchema::snoozesPerDayKey, std::int64_t{5});
    EXPECT_EQ(engine.intervals(), (WorkClock::Intervals{1200, 0}));
    EXPECT_EQ(engine.snoozeBudget(), (SnoozeBudget{3, 5}));

    EXPECT_EQ(engine.secondsUntilNextBreak(t0 + 100, t0 + 50), -50.0) << "an overdue planned break is not clamped";
    BreakEngine fresh{store};
    EXPECT_EQ(fresh.secondsUntilNextBreak(t0, std::nullopt), std::nullopt);
}

TEST_F(BreakEngineTest, SavedSessionRestoresThePauseAndTheStretches) {
    engine.pause(Instant::distantFuture());
    EXPECT_TRUE(engine.isPaused());
    const SessionState saved = engine.savedSession(t0 + 60, "42");
    EXPECT_EQ(saved, (SessionState{Instant::distantFuture(), t0, t0, t0 + 60, "42"}));

    BreakEngine next{store};
    next.restoreWorkStretch(SessionState{std::nullopt, t0, std::nullopt, t0, "42"});
    EXPECT_EQ(next.workClock().longStart, t0);
    EXPECT_EQ(next.workClock().microStart, std::nullopt);
    EXPECT_EQ(next.secondsWorkedLong(t0 + 90), 90);
}

TEST_F(BreakEngineTest, CycleCountFollowsEndedBreaksAndCreditedRest) {
    engine.breakEnded(Kind::micro);
    engine.breakEnded(Kind::micro);
    EXPECT_EQ(engine.breaksSinceLongBreak(), 2);
    engine.creditLongRest();
    EXPECT_EQ(engine.breaksSinceLongBreak(), 0);

    engine.decide(Kind::long_, busyAt(1200));
    engine.breakEnded(Kind::long_);
    EXPECT_EQ(engine.dueBreak(), (DueBreak{false, t0 + 1200, std::nullopt})) << "the excusal outlives the block";
}

TEST(BreakEngineEffectText, EffectsPrintInTheWordsOfTheLog) {
    const std::pair<BreakEngine::Effect, const char*> cases[] = {
        {E::TickSuppressionChanged{Reason::offHours}, "work clock tick suppressed reason=offHours"},
        {E::TickSuppressionChanged{std::nullopt}, "work clock running"},
        {E::OfferAwayUndo{600.7}, "work clock reset on return from idle; undo offered away=600s"},
        {E::CreditAwayRest{30}, "work clock reset on return from idle; no undo offered away=30s"},
        {E::HoldDropped{"notDue"}, "break hold dropped reason=notDue"},
        {E::BreakDue{Kind::micro}, "break due kind=micro"},
        {E::BreakDropped{Kind::long_, BreakDecision::DropReason::away}, "break due kind=long dropped reason=away"},
        {E::BreakIgnored{Kind::long_}, "break due kind=long ignored reason=alreadyResting"},
        {E::BreakHeld{Kind::long_, Block::cooldown, std::nullopt}, "break due but held kind=long reason=cooldown cause=—"},
        {E::BreakHeld{Kind::micro, Block::smartPause, "Call"}, "break due but held kind=micro reason=smartPause cause=Call"},
        {E::AlertSmartPauseHold{"Call"}, "smart pause holding break cause=Call"},
        {E::AlertBlockerStillHolding{"Video", 31}, "break still held after 31m cause=Video"},
        {E::Commit{Kind::long_, Instant::fromSecondsSinceEpoch(1'800'000'000)},
         "break due kind=long proceeding heldSince=2027-01-15T08:00:00Z"},
        {E::ClaimScreen{Kind::micro, std::nullopt}, "break screen taking now kind=micro"},
        {E::HideAwayUndo{}, "away undo hidden"},
        {E::RetryTypingHold{}, "typing retry armed"},
    };
    for (const auto& [effect, line] : cases)
        EXPECT_EQ(describe(effect), line);
}

} // namespace
} // namespace sorvala
