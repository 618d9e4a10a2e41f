// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakDecision.h"
#include "core/BreakEvent.h"
#include "core/BreakGate.h"
#include "core/BreakSchedule.h"
#include "core/Diagnostics.h"
#include "core/DueBreak.h"
#include "core/Instant.h"
#include "core/SessionState.h"
#include "core/SnoozeBudget.h"
#include "core/WorkClock.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sorvala {

class PreferencesStore;

/// The scheduling core: turns each poll of the main loop, each due break and each moment a break
/// would take the screen into an ordered list of effects for the application object to carry out.
/// It never touches timers, windows or the system; the schedule and the snooze budget are read
/// from the settings store at each use.
class BreakEngine {
public:
    /// What the main loop measured at one instant.
    struct Facts {
        Instant now;
        bool schedulingAllowed = true; ///< reminders are not paused
        bool withinWorkingHours = true;
        bool resting = false; ///< on a break, or one is about to start
        double idleSeconds = 0;
        bool displayAsleep = false;
        std::optional<Instant> presenceLastProvenAt; ///< a busy cause proved the user present

        /// Idle seconds, shortened by presence a busy cause proved since the last input.
        double unattendedSeconds() const;
        /// Whether the user counts as at the computer.
        bool isPresent() const;
    };

    /// The richer sample taken when a due break is decided or would take the screen.
    struct World {
        Facts facts;
        double secondsSinceKeyDown = 0;
        std::optional<std::string> smartPauseCause; ///< menu label of the active busy cause
        bool smartPauseIsAttendedActivity = false;
        double cooldownRemaining = 0;
    };

    /// The reason the clock is not counting changed; nullopt means counting again.
    struct TickSuppressionChanged {
        std::optional<Diagnostics::SuppressedTickReason> reason;
        bool operator==(const TickSuppressionChanged&) const = default;
    };
    /// The user came back; offer to undo the away reset.
    struct OfferAwayUndo {
        double awaySeconds = 0;
        bool operator==(const OfferAwayUndo&) const = default;
    };
    /// The user came back; count the absence as a long rest with no undo.
    struct CreditAwayRest {
        double seconds = 0;
        bool operator==(const CreditAwayRest&) const = default;
    };
    /// A held due break was released.
    struct HoldDropped {
        std::string reason;
        bool operator==(const HoldDropped&) const = default;
    };
    /// A break has become due; sample a world and call `decide`.
    struct BreakDue {
        BreakEvent::Kind kind = BreakEvent::Kind::long_;
        bool operator==(const BreakDue&) const = default;
    };
    /// The due break is abandoned.
    struct BreakDropped {
        BreakEvent::Kind kind = BreakEvent::Kind::long_;
        BreakDecision::DropReason reason = BreakDecision::DropReason::paused;
        bool operator==(const BreakDropped&) const = default;
    };
    /// Due, but the user is already resting.
    struct BreakIgnored {
        BreakEvent::Kind kind = BreakEvent::Kind::long_;
        bool operator==(const BreakIgnored&) const = default;
    };
    /// Due but held back by a block.
    struct BreakHeld {
        BreakEvent::Kind kind = BreakEvent::Kind::long_;
        BreakGate::Block block = BreakGate::Block::smartPause;
        std::optional<std::string> cause;
        bool operator==(const BreakHeld&) const = default;
    };
    /// Tell the user a break is being held for this cause.
    struct AlertSmartPauseHold {
        std::string cause;
        bool operator==(const AlertSmartPauseHold&) const = default;
    };
    /// Tell the user the cause has held the break this long.
    struct AlertBlockerStillHolding {
        std::string cause;
        int minutes = 0;
        bool operator==(const AlertBlockerStillHolding&) const = default;
    };
    /// The break goes ahead; a long one gets its heads-up next.
    struct Commit {
        BreakEvent::Kind kind = BreakEvent::Kind::long_;
        std::optional<Instant> afterHoldSince;
        bool operator==(const Commit&) const = default;
    };
    /// Cover the screen now.
    struct ClaimScreen {
        BreakEvent::Kind kind = BreakEvent::Kind::long_;
        std::optional<Instant> excusedSince;
        bool operator==(const ClaimScreen&) const = default;
    };
    /// Remove the away-undo notice.
    struct HideAwayUndo {
        bool operator==(const HideAwayUndo&) const = default;
    };
    /// A long break is held only by typing; arm the typing retry.
    struct RetryTypingHold {
        bool operator==(const RetryTypingHold&) const = default;
    };

    using Effect = std::variant<TickSuppressionChanged, OfferAwayUndo, CreditAwayRest, HoldDropped, BreakDue,
                                BreakDropped, BreakIgnored, BreakHeld, AlertSmartPauseHold, AlertBlockerStillHolding,
                                Commit, ClaimScreen, HideAwayUndo, RetryTypingHold>;
    using Effects = std::vector<Effect>;

    /// An engine with every field at its initial value, reading its settings from `defaults`.
    explicit BreakEngine(const PreferencesStore& defaults);

    /// The two work stretches and the away state.
    const WorkClock& workClock() const { return m_workClock; }
    /// The break that is due and not yet taken or dropped.
    const std::optional<DueBreak>& dueBreak() const { return m_dueBreak; }
    /// Reminders are paused while this is set; the distant future means until resumed.
    std::optional<Instant> pausedUntil() const { return m_pausedUntil; }
    /// Snoozes since the last announced long break.
    int snoozeCount() const { return m_snoozeCount; }
    /// The last time a busy cause held a break; the cooldown counts from it.
    std::optional<Instant> lastSmartPauseBlockedAt() const { return m_lastSmartPauseBlockedAt; }
    /// The last time a busy cause held a break, never later than `now`: a hold the clock was set
    /// back past counts as now, so the cooldown lasts its own length.
    std::optional<Instant> smartPauseCooldownAnchor(Instant now);
    /// Micro breaks ended since the last long break, for the cycle.
    int breaksSinceLongBreak() const { return m_breaksSinceLongBreak; }
    /// The suppression reason last reported, so a change is reported once.
    std::optional<Diagnostics::SuppressedTickReason> lastSuppressedTickReason() const {
        return m_lastSuppressedTickReason;
    }
    /// When the user dismissed the overtime badge.
    std::optional<Instant> overtimeDismissedAt() const { return m_overtimeDismissedAt; }

    /// The schedule as stored right now.
    BreakSchedule schedule() const;
    /// The work clock's intervals of the stored schedule.
    WorkClock::Intervals intervals() const { return BreakSchedule::storedIntervals(*m_defaults); }
    /// The snooze limits as stored right now.
    SnoozeBudget snoozeBudget() const;
    /// Whether a pause is set; its end is the resume timer's business, not the engine's.
    bool isPaused() const { return m_pausedUntil.has_value(); }
    /// What holds the due break right now, if anything.
    std::optional<BreakGate::Block> holdingBlock() const;
    /// Whether the user is away long enough for the absence to count as rest.
    bool userSteppedAway() const { return m_workClock.awayPending; }
    /// Whether the overtime badge was dismissed during the current long stretch.
    bool isOvertimeDismissed() const;
    /// Seconds worked in the current long stretch.
    double secondsWorkedLong(Instant now) const { return m_workClock.secondsWorkedLong(now); }
    /// Seconds until the nearer of the next interval break and the planned break at `fixedBreakAt`;
    /// an overdue planned break gives a negative number.
    std::optional<double> secondsUntilNextBreak(Instant now, std::optional<Instant> fixedBreakAt) const;
    /// The pause and the work-stretch starts, to be stored at quit.
    SessionState savedSession(Instant now, std::string version) const;

    /// One poll of the work clock.
    Effects tick(const Facts& facts);
    /// The verdict on a due break of `kind` in `world`.
    Effects decide(BreakEvent::Kind kind, const World& world);
    /// The moment a break of `kind` would cover the screen.
    Effects screenTake(BreakEvent::Kind kind, const World& world);
    /// Releases a held due break for `reason`; nothing when none is held.
    Effects abandonHold(std::string_view reason);

    /// Postpones both work stretches by `by` seconds, counts the snooze and forgets the due break.
    void snooze(double by, Instant now);
    /// Pauses reminders until `until` (the distant future: until resumed) and forgets the due break.
    void pause(Instant until);
    /// Ends a pause; the caller starts fresh work stretches.
    void resume();
    /// A long break's heads-up went out: the session's snoozes start over.
    void breakAnnounced();
    /// A break of `kind` ended: its block is forgotten and the long-break cycle advances.
    void breakEnded(BreakEvent::Kind kind);
    /// An absence was counted as a long rest: the cycle starts over.
    void creditLongRest();
    /// Forgets the due break and starts both work stretches at `now`.
    void startFreshWorkStretch(Instant now);
    /// Starts the micro stretch at `now` after a micro break.
    void startFreshMicroCadence(Instant now);
    /// Continues the work stretches of a saved session, where it has them.
    void restoreWorkStretch(const SessionState& state);
    /// The user chose undo: the stretches the away reset discarded come back.
    void undoAwayReset();
    /// The undo was declined or expired: the discarded stretches are forgotten.
    void acceptAwayReset();
    /// The absence was credited as a long rest: the away state is settled.
    void consumeAwayState();
    /// The wall clock was set by `by` seconds: every remembered instant moves with it, so the work
    /// stretches keep the length they had and the cooldown and holds their age.
    void wallClockMoved(double by);
    /// Keeps the overtime badge hidden until a new long stretch starts.
    void dismissOvertimeBadge(Instant now);
    /// Forgets the due break, planned arm included.
    void abandonDueBreak();
    /// A planned clock-time break enters the engine as a fixed-time arm on the due break.
    void armFixedTimeBreak();

private:
    void hold(BreakEvent::Kind kind, BreakGate::Block block, const World& world, Effects& effects);
    void appendAbandonHold(std::string_view reason, Effects& effects);
    void clampSmartPauseBlockedAt(Instant now);

    const PreferencesStore* m_defaults;
    WorkClock m_workClock;
    std::optional<DueBreak> m_dueBreak;
    std::optional<Instant> m_pausedUntil;
    int m_snoozeCount = 0;
    std::optional<Instant> m_lastSmartPauseBlockedAt;
    int m_breaksSinceLongBreak = 0;
    std::optional<Diagnostics::SuppressedTickReason> m_lastSuppressedTickReason;
    std::optional<Instant> m_overtimeDismissedAt;
};

/// Each effect in the words of the log: "break due kind=long", "break hold dropped reason=away", ...
std::ostream& operator<<(std::ostream& os, const BreakEngine::TickSuppressionChanged& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::OfferAwayUndo& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::CreditAwayRest& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::HoldDropped& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakDue& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakDropped& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakIgnored& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::BreakHeld& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::AlertSmartPauseHold& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::AlertBlockerStillHolding& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::Commit& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::ClaimScreen& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::HideAwayUndo& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::RetryTypingHold& effect);
std::ostream& operator<<(std::ostream& os, const BreakEngine::Effect& effect);
/// The effect as one line of text, as `operator<<` writes it.
std::string describe(const BreakEngine::Effect& effect);

} // namespace sorvala
