// SPDX-License-Identifier: MIT
#include "core/BreakEngine.h"

#include "core/BreakTiming.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"

#include <algorithm>
#include <limits>

namespace sorvala {

double BreakEngine::Facts::unattendedSeconds() const {
    if (!presenceLastProvenAt)
        return idleSeconds;
    return std::min(idleSeconds, std::max(0.0, now - *presenceLastProvenAt));
}

bool BreakEngine::Facts::isPresent() const {
    return unattendedSeconds() < BreakTiming::idleResetThreshold;
}

BreakEngine::BreakEngine(const PreferencesStore& defaults) : m_defaults(&defaults) {}

BreakSchedule BreakEngine::schedule() const {
    return BreakSchedule::stored(*m_defaults);
}

SnoozeBudget BreakEngine::snoozeBudget() const {
    return SnoozeBudget{m_defaults->boundedInteger(SettingsSchema::snoozesPerSessionKey),
                        m_defaults->boundedInteger(SettingsSchema::snoozesPerDayKey)};
}

std::optional<BreakGate::Block> BreakEngine::holdingBlock() const {
    if (m_dueBreak && m_dueBreak->hold)
        return m_dueBreak->hold->block;
    return std::nullopt;
}

bool BreakEngine::isOvertimeDismissed() const {
    return m_overtimeDismissedAt && m_workClock.longStart && *m_overtimeDismissedAt >= *m_workClock.longStart;
}

std::optional<double> BreakEngine::secondsUntilNextBreak(Instant now, std::optional<Instant> fixedBreakAt) const {
    auto soonest = m_workClock.secondsUntilNextBreak(now, intervals());
    if (fixedBreakAt) {
        const double untilPlanned = *fixedBreakAt - now;
        if (!soonest || untilPlanned < *soonest)
            soonest = untilPlanned;
    }
    return soonest;
}

SessionState BreakEngine::savedSession(Instant now, std::string version) const {
    return SessionState{m_pausedUntil, m_workClock.longStart, m_workClock.microStart, now, std::move(version)};
}

BreakEngine::Effects BreakEngine::tick(const Facts& facts) {
    Effects effects;

    const auto reason =
        Diagnostics::suppressedTickReason(facts.schedulingAllowed, facts.withinWorkingHours, facts.resting);
    if (reason != m_lastSuppressedTickReason) {
        m_lastSuppressedTickReason = reason;
        effects.emplace_back(TickSuppressionChanged{reason});
    }

    clampSmartPauseBlockedAt(facts.now);
    const bool canFire = facts.schedulingAllowed && facts.withinWorkingHours;
    if (!canFire)
        appendAbandonHold(facts.schedulingAllowed ? "offHours" : "paused", effects);
    // A break left over at the end of the working day goes with its planned arm: the arm alone
    // would announce the break at the first tick of the next working day.
    if (!facts.withinWorkingHours)
        m_dueBreak.reset();

    // The work clock does not advance while the user is on a break.
    if (facts.resting)
        return effects;

    const BreakSchedule current = schedule();
    const WorkClock::Action action = m_workClock.step(facts.now, facts.unattendedSeconds(), current.intervals(),
                                                      BreakTiming::idleResetThreshold, canFire);
    if (m_workClock.awayPending)
        effects.emplace_back(HideAwayUndo{});

    const bool fixedArmPending = m_dueBreak && m_dueBreak->isFixedTime;
    bool fired = false;
    if (std::holds_alternative<WorkClock::None>(action)) {
        if (BreakDecision::notDueDropsHeldBreak(fixedArmPending))
            appendAbandonHold(m_workClock.awayPending ? "away" : "notDue", effects);
    } else if (std::holds_alternative<WorkClock::FireLong>(action)) {
        fired = true;
        effects.emplace_back(BreakDue{BreakEvent::Kind::long_});
    } else if (std::holds_alternative<WorkClock::FireMicro>(action)) {
        fired = true;
        effects.emplace_back(
            BreakDue{fixedArmPending ? BreakEvent::Kind::long_ : current.nextBreakKind(m_breaksSinceLongBreak)});
    } else if (const auto* undo = std::get_if<WorkClock::ShowUndo>(&action)) {
        const double discarded = m_workClock.discardedStretchSeconds(facts.now, undo->awaySeconds);
        if (AwayUndo::shouldOffer(discarded, undo->awaySeconds)) {
            effects.emplace_back(OfferAwayUndo{undo->awaySeconds});
        } else {
            m_workClock.clearUndo();
            if (undo->awaySeconds > 0)
                effects.emplace_back(CreditAwayRest{undo->awaySeconds});
        }
    }

    // A planned break keeps being announced until a long commit consumes its arm.
    if (canFire && fixedArmPending && !fired)
        effects.emplace_back(BreakDue{BreakEvent::Kind::long_});
    return effects;
}

BreakEngine::Effects BreakEngine::decide(BreakEvent::Kind kind, const World& world) {
    const Facts& facts = world.facts;
    const BreakDecision::Preconditions preconditions{
        facts.schedulingAllowed,
        facts.withinWorkingHours,
        facts.isPresent(),
        facts.resting,
        BreakGate::startBlock(world.smartPauseCause.has_value(), world.cooldownRemaining),
        facts.displayAsleep};
    const BreakDecision decision = BreakDecision::decide(preconditions);

    Effects effects;
    if (const auto* drop = std::get_if<BreakDecision::Drop>(&decision.verdict)) {
        effects.emplace_back(BreakDropped{kind, drop->reason});
        appendAbandonHold(text(drop->reason), effects);
        m_dueBreak.reset();
    } else if (std::holds_alternative<BreakDecision::Ignore>(decision.verdict)) {
        effects.emplace_back(BreakIgnored{kind});
    } else if (std::holds_alternative<BreakDecision::Commit>(decision.verdict)) {
        const std::optional<Instant> excusedSince = m_dueBreak ? m_dueBreak->excusedSince : std::nullopt;
        if (BreakDecision::commitClearsFixedArm(kind) && m_dueBreak)
            m_dueBreak = m_dueBreak->withoutFixedTimeArm();
        if (kind == BreakEvent::Kind::long_) {
            effects.emplace_back(Commit{kind, excusedSince});
        } else {
            // A micro break has no heads-up: it takes the screen at once. Held again there, its
            // hold goes on, and the commit must not report it cleared.
            const Effects taken = screenTake(kind, world);
            const bool claimed = std::any_of(taken.begin(), taken.end(), [](const Effect& effect) {
                return std::holds_alternative<ClaimScreen>(effect);
            });
            effects.emplace_back(Commit{kind, claimed ? excusedSince : std::nullopt});
            effects.insert(effects.end(), taken.begin(), taken.end());
        }
    } else if (const auto* held = std::get_if<BreakDecision::Hold>(&decision.verdict)) {
        hold(kind, held->block, world, effects);
    }
    return effects;
}

BreakEngine::Effects BreakEngine::screenTake(BreakEvent::Kind kind, const World& world) {
    Effects effects;
    if (world.facts.displayAsleep) {
        effects.emplace_back(BreakDropped{kind, BreakDecision::DropReason::displayAsleep});
        appendAbandonHold("displayAsleep", effects);
        m_dueBreak.reset();
        return effects;
    }

    const auto block = BreakGate::screenTakeBlock(world.smartPauseCause.has_value(), world.cooldownRemaining,
                                                  world.secondsSinceKeyDown, BreakTiming::typingPauseSeconds);
    if (block) {
        hold(kind, *block, world, effects);
        if (kind == BreakEvent::Kind::long_ && *block == BreakGate::Block::typing)
            effects.emplace_back(RetryTypingHold{});
        return effects;
    }

    std::optional<Instant> excusedSince;
    if (schedule().billedAsExcused(kind)) {
        excusedSince = m_dueBreak ? m_dueBreak->excusedSince : std::nullopt;
        m_dueBreak = m_dueBreak ? m_dueBreak->withoutHold() : std::nullopt;
    } else {
        m_dueBreak = m_dueBreak ? m_dueBreak->withoutCurrentBlock() : std::nullopt;
    }
    effects.emplace_back(ClaimScreen{kind, excusedSince});
    return effects;
}

BreakEngine::Effects BreakEngine::abandonHold(std::string_view reason) {
    Effects effects;
    appendAbandonHold(reason, effects);
    return effects;
}

void BreakEngine::appendAbandonHold(std::string_view reason, Effects& effects) {
    if (!m_dueBreak || !m_dueBreak->isHeld())
        return;
    m_dueBreak = m_dueBreak->withoutHold();
    effects.emplace_back(HoldDropped{std::string(reason)});
}

void BreakEngine::hold(BreakEvent::Kind kind, BreakGate::Block block, const World& world, Effects& effects) {
    const Instant now = world.facts.now;
    const bool bySmartPause = block == BreakGate::Block::smartPause;
    if (bySmartPause)
        m_lastSmartPauseBlockedAt = now;
    const std::optional<std::string> cause = bySmartPause ? world.smartPauseCause : std::nullopt;

    DueBreak due = m_dueBreak.value_or(DueBreak{});
    const DueBreak::HoldOutcome outcome = due.recordHold(block, cause, schedule().billedAsExcused(kind), now);
    if (outcome.shouldLog) {
        effects.emplace_back(BreakHeld{kind, block, cause});
        if (outcome.shouldAlert && cause)
            effects.emplace_back(AlertSmartPauseHold{*cause});
    }
    if (cause) {
        if (const auto heldFor = due.nudgeIfDue(world.smartPauseIsAttendedActivity,
                                                BreakTiming::blockerStillWaitingSeconds, now))
            effects.emplace_back(AlertBlockerStillHolding{*cause, static_cast<int>(*heldFor / 60)});
    }
    m_dueBreak = std::move(due);
}

std::optional<Instant> BreakEngine::smartPauseCooldownAnchor(Instant now) {
    clampSmartPauseBlockedAt(now);
    return m_lastSmartPauseBlockedAt;
}

void BreakEngine::clampSmartPauseBlockedAt(Instant now) {
    // A hold the clock was set back past counts as now: the cooldown then lasts its own length,
    // not until the clock catches up with the hold.
    if (m_lastSmartPauseBlockedAt && *m_lastSmartPauseBlockedAt > now)
        m_lastSmartPauseBlockedAt = now;
}

void BreakEngine::snooze(double by, Instant now) {
    const bool wasDismissed = isOvertimeDismissed();
    m_workClock.postpone(by, now, intervals());
    // The postponed stretch keeps the badge dismissed.
    if (wasDismissed && m_workClock.longStart)
        m_overtimeDismissedAt = m_workClock.longStart;
    ++m_snoozeCount;
    m_dueBreak.reset();
}

void BreakEngine::pause(Instant until) {
    m_pausedUntil = until;
    m_dueBreak.reset();
}

void BreakEngine::resume() {
    m_pausedUntil.reset();
}

void BreakEngine::breakAnnounced() {
    m_snoozeCount = 0;
}

void BreakEngine::breakEnded(BreakEvent::Kind kind) {
    m_dueBreak = m_dueBreak ? m_dueBreak->withoutCurrentBlock() : std::nullopt;
    m_breaksSinceLongBreak = BreakSchedule::cycleCount(kind, m_breaksSinceLongBreak);
}

void BreakEngine::creditLongRest() {
    m_breaksSinceLongBreak = BreakSchedule::cycleCount(BreakEvent::Kind::long_, m_breaksSinceLongBreak);
}

void BreakEngine::startFreshWorkStretch(Instant now) {
    m_dueBreak.reset();
    m_workClock.restart(now);
}

void BreakEngine::startFreshMicroCadence(Instant now) {
    m_workClock.restartMicro(now);
}

void BreakEngine::restoreWorkStretch(const SessionState& state) {
    if (state.longStretchStartedAt)
        m_workClock.longStart = state.longStretchStartedAt;
    if (state.microStretchStartedAt)
        m_workClock.microStart = state.microStretchStartedAt;
}

void BreakEngine::undoAwayReset() {
    m_workClock.undo();
}

void BreakEngine::acceptAwayReset() {
    m_workClock.clearUndo();
}

void BreakEngine::consumeAwayState() {
    m_workClock.clearAwayState();
}

void BreakEngine::wallClockMoved(double by) {
    const auto move = [by](std::optional<Instant>& instant) {
        if (instant)
            instant = *instant + by;
    };
    for (auto* instant : {&m_workClock.longStart, &m_workClock.microStart, &m_workClock.stashedLongStart,
                          &m_workClock.stashedMicroStart, &m_workClock.awayStartedAt, &m_lastSmartPauseBlockedAt,
                          &m_overtimeDismissedAt})
        move(*instant);
    if (m_dueBreak) {
        move(m_dueBreak->excusedSince);
        if (m_dueBreak->hold)
            m_dueBreak->hold->since = m_dueBreak->hold->since + by;
    }
}

void BreakEngine::dismissOvertimeBadge(Instant now) {
    m_overtimeDismissedAt = now;
}

void BreakEngine::abandonDueBreak() {
    m_dueBreak.reset();
}

void BreakEngine::armFixedTimeBreak() {
    DueBreak due = m_dueBreak.value_or(DueBreak{});
    due.isFixedTime = true;
    m_dueBreak = std::move(due);
}

} // namespace sorvala
