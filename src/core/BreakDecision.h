// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/BreakGate.h"

#include <optional>
#include <string_view>
#include <variant>

namespace sorvala {

/// The verdict on a break that has become due: drop it, hold it, ignore it or go ahead.
struct BreakDecision {
    /// Why a due break is abandoned.
    enum class DropReason { paused, offHours, away, displayAsleep };

    /// The four verdicts.
    struct Drop {
        DropReason reason = DropReason::paused;
        bool operator==(const Drop&) const = default;
    };
    struct Hold {
        BreakGate::Block block = BreakGate::Block::smartPause;
        bool operator==(const Hold&) const = default;
    };
    struct Ignore {
        bool operator==(const Ignore&) const = default;
    };
    struct Commit {
        bool operator==(const Commit&) const = default;
    };
    using Verdict = std::variant<Drop, Hold, Ignore, Commit>;

    /// What the verdict is taken from.
    struct Preconditions {
        bool schedulingAllowed = true;
        bool withinWorkingHours = true;
        bool present = true;
        bool resting = false;
        std::optional<BreakGate::Block> commitBlock;
        bool displayAsleep = false;
    };

    Verdict verdict = Commit{};

    /// Abandon the due break.
    static BreakDecision drop(DropReason reason) { return {Drop{reason}}; }
    /// Keep the due break waiting behind `block`.
    static BreakDecision hold(BreakGate::Block block) { return {Hold{block}}; }
    /// The user is already resting: nothing to do.
    static BreakDecision ignore() { return {Ignore{}}; }
    /// The break goes ahead.
    static BreakDecision commit() { return {Commit{}}; }

    /// First match wins: paused, off hours, display asleep, away, already resting, blocked, commit.
    static BreakDecision decide(const Preconditions& p);
    /// Committing a long break consumes a planned arm; a micro commit leaves it.
    static bool commitClearsFixedArm(BreakEvent::Kind kind) { return kind == BreakEvent::Kind::long_; }
    /// When nothing is due, a held break is released unless a planned arm is pending.
    static bool notDueDropsHeldBreak(bool fixedArmPending) { return !fixedArmPending; }

    bool operator==(const BreakDecision&) const = default;
};

inline constexpr BreakDecision::DropReason allDropReasons[] = {
    BreakDecision::DropReason::paused, BreakDecision::DropReason::offHours, BreakDecision::DropReason::away,
    BreakDecision::DropReason::displayAsleep};

/// "paused", "offHours", "away" or "displayAsleep".
std::string_view text(BreakDecision::DropReason reason);
/// The drop reason a word names; nullopt for a word it does not know.
std::optional<BreakDecision::DropReason> dropReasonFromText(std::string_view word);

} // namespace sorvala
