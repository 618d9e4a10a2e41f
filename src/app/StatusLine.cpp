// SPDX-License-Identifier: MIT
#include "app/StatusLine.h"

#include "core/WorkClock.h"
#include "i18n/I18n.h"

#include <algorithm>
#include <cmath>

namespace sorvala {

std::string minutesSeconds(double seconds) {
    // Written every second the countdown runs: no format string to parse.
    const auto whole = static_cast<long long>(std::min(std::max(0.0, std::floor(seconds)), 1e15));
    const auto second = whole % 60;
    auto text = std::to_string(whole / 60);
    text += ':';
    text += static_cast<char>('0' + second / 10);
    text += static_cast<char>('0' + second % 10);
    return text;
}

namespace {

/// A cause's label, which names it in English, as the user reads it.
std::optional<std::string> shownLabel(const std::optional<std::string>& label) {
    if (!label)
        return std::nullopt;
    return Translation::translated(nullptr, label->c_str());
}

} // namespace

std::string StatusLine::text(const Facts& facts, const std::function<std::optional<std::string>()>& blockerLabel,
                             const std::function<std::string(Instant)>& shortTime) {
    if (facts.onBreak)
        return i18n("On a break");
    if (facts.pausedUntil) {
        if (*facts.pausedUntil >= Instant::distantFuture())
            return i18n("Paused until resumed");
        // TRANSLATORS: %1 is a time of day, such as 14:30.
        return i18n("Paused until %1", shortTime(*facts.pausedUntil));
    }
    if (facts.breakStarting)
        return i18n("Break starting…");
    if (!facts.withinWorkingHours)
        return i18n("Outside working hours");
    if (facts.holdingBlock == BreakGate::Block::smartPause)
        // TRANSLATORS: %1 names what holds the break, such as "In a call".
        return i18n("%1 — break waiting to run", shownLabel(blockerLabel()).value_or(i18n("Blocked")));
    if (facts.holdingBlock == BreakGate::Block::cooldown)
        // TRANSLATORS: %1 counts down minutes and seconds, such as 1:30.
        return i18n("Still waiting after a blocker — break in %1", minutesSeconds(facts.cooldownRemaining));
    const auto label = shownLabel(blockerLabel());
    if (facts.secondsUntilNextBreak) {
        const auto left = minutesSeconds(*facts.secondsUntilNextBreak);
        if (label)
            // TRANSLATORS: %1 names what holds breaks, such as "In a call"; %2 counts down, such as 19:59.
            return i18n("%1 — next break in %2", *label, left);
        // TRANSLATORS: %1 counts down minutes and seconds, such as 19:59.
        return i18n("Next break in %1", left);
    }
    if (label)
        return *label;
    return facts.userSteppedAway ? i18n(AwayUndo::resetDescription.data()) : i18n("No breaks scheduled");
}

StatusLine::Facts StatusLine::besideCountdown(Facts facts) {
    if (facts.secondsUntilNextBreak && std::isfinite(*facts.secondsUntilNextBreak))
        facts.secondsUntilNextBreak = std::round(*facts.secondsUntilNextBreak);
    return facts;
}

} // namespace sorvala
