// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakGate.h"
#include "core/Instant.h"

#include <functional>
#include <optional>
#include <string>

namespace sorvala {

/// The one line that says what the break machinery is doing right now.
namespace StatusLine {

/// The snapshot behind the line, built fresh for every use.
struct Facts {
    bool onBreak = false;
    std::optional<Instant> pausedUntil;
    bool breakStarting = false;
    bool withinWorkingHours = true;
    std::optional<BreakGate::Block> holdingBlock;
    double cooldownRemaining = 0;
    std::optional<double> secondsUntilNextBreak;
    bool userSteppedAway = false;
};

/// The status text, first matching state wins: on a break, paused, starting, off hours, held,
/// cooldown, the countdown. `blockerLabel` is asked only when the text needs it;
/// `shortTime` writes a pause deadline as the user's short time of day.
std::string text(const Facts& facts, const std::function<std::optional<std::string>()>& blockerLabel,
                 const std::function<std::string(Instant)>& shortTime);

/// The facts with the time to the next break rounded to the whole second the countdown title
/// shows, for a status line that stands beside that title (a tooltip, a status bar) and must
/// agree with it. The menu's own line keeps the plain truncated seconds.
Facts besideCountdown(Facts facts);

} // namespace StatusLine

/// "%d:%02d" of whole minutes and seconds, never below 0:00.
std::string minutesSeconds(double seconds);

} // namespace sorvala
