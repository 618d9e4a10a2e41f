// SPDX-License-Identifier: MIT
#pragma once

/// The rule for the one "still waiting" alert while a busy cause holds a break.
namespace sorvala::BlockerNudge {

/// True once per hold: the cause is not something the user attends, no alert went out yet for
/// this hold, and the break has been held for at least `after` seconds.
constexpr bool fires(double heldForSeconds, bool isAttendedActivity, bool alreadySent, double after) {
    return !isAttendedActivity && !alreadySent && heldForSeconds >= after;
}

} // namespace sorvala::BlockerNudge
