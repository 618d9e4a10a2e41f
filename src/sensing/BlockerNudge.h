// SPDX-License-Identifier: MIT
#pragma once

/// The one "still waiting" banner for a break held a long time.
namespace sorvala::BlockerNudge {

/// True when the holding cause is not an attended activity, no nudge was sent for this hold,
/// and the break has been held for at least `after` seconds.
constexpr bool fires(double heldForSeconds, bool isAttendedActivity, bool alreadySent, double after) {
    return !isAttendedActivity && !alreadySent && heldForSeconds >= after;
}

} // namespace sorvala::BlockerNudge
