// SPDX-License-Identifier: MIT
#include "app/StatusLine.h"

#include "core/WorkClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sorvala {

std::string minutesSeconds(double seconds) {
    const auto whole = static_cast<long long>(std::max(0.0, std::floor(seconds)));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld", whole / 60, whole % 60);
    return buffer;
}

std::string StatusLine::text(const Facts& facts, const std::function<std::optional<std::string>()>& blockerLabel,
                             const std::function<std::string(Instant)>& shortTime) {
    if (facts.onBreak)
        return "On a break";
    if (facts.pausedUntil)
        return *facts.pausedUntil >= Instant::distantFuture() ? "Paused until resumed"
                                                              : "Paused until " + shortTime(*facts.pausedUntil);
    if (facts.breakStarting)
        return "Break starting…";
    if (!facts.withinWorkingHours)
        return "Outside working hours";
    if (facts.holdingBlock == BreakGate::Block::smartPause)
        return blockerLabel().value_or("Blocked") + " — break waiting to run";
    if (facts.holdingBlock == BreakGate::Block::cooldown)
        return "Still waiting after a blocker — break in " + minutesSeconds(facts.cooldownRemaining);
    const auto label = blockerLabel();
    if (facts.secondsUntilNextBreak) {
        const auto left = minutesSeconds(*facts.secondsUntilNextBreak);
        return label ? *label + " — next break in " + left : "Next break in " + left;
    }
    if (label)
        return *label;
    return facts.userSteppedAway ? std::string(AwayUndo::resetDescription) : "No breaks scheduled";
}

StatusLine::Facts StatusLine::besideCountdown(Facts facts) {
    if (facts.secondsUntilNextBreak && std::isfinite(*facts.secondsUntilNextBreak))
        facts.secondsUntilNextBreak = std::round(*facts.secondsUntilNextBreak);
    return facts;
}

} // namespace sorvala
