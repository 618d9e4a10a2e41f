// SPDX-License-Identifier: MIT
#include "core/DueBreak.h"

#include "core/BlockerNudge.h"

#include <algorithm>

namespace sorvala {

DueBreak::HoldOutcome DueBreak::recordHold(BreakGate::Block block, std::optional<std::string> cause,
                                           bool billedAsExcused, Instant now) {
    const bool firstExcusal = !excusedSince.has_value();
    if (firstExcusal && billedAsExcused)
        excusedSince = now;
    if (hold && hold->block == block && hold->cause == cause)
        return HoldOutcome{false, false};
    hold = Hold{block, std::move(cause), now, false};
    return HoldOutcome{true, billedAsExcused && firstExcusal && block == BreakGate::Block::smartPause};
}

std::optional<double> DueBreak::nudgeIfDue(bool isAttendedActivity, double threshold, Instant now) {
    if (!hold)
        return std::nullopt;
    if (!BlockerNudge::fires(now - hold->since, isAttendedActivity, hold->nudgeSent, threshold))
        return std::nullopt;
    hold->nudgeSent = true;
    const Instant firstHeld = excusedSince ? std::min(hold->since, *excusedSince) : hold->since;
    return now - firstHeld;
}

std::optional<DueBreak> DueBreak::withoutHold() const {
    if (!isFixedTime)
        return std::nullopt;
    return DueBreak{true, std::nullopt, std::nullopt};
}

std::optional<DueBreak> DueBreak::withoutCurrentBlock() const {
    if (!isFixedTime && !excusedSince)
        return std::nullopt;
    return DueBreak{isFixedTime, excusedSince, std::nullopt};
}

std::optional<DueBreak> DueBreak::withoutFixedTimeArm() const {
    if (!isHeld())
        return std::nullopt;
    return DueBreak{false, excusedSince, hold};
}

} // namespace sorvala
