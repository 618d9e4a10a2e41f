// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <optional>

namespace sorvala::BreakEscape {

/// Two Escape presses at most this far apart count as one double press.
inline constexpr double doublePressWindowSeconds = 1.0;
/// A micro break with at most this much rest left may end as taken.
inline constexpr double nearlyDoneThresholdSeconds = 10.0;

/// Whether `currentPress` follows an earlier press closely enough to be the second of a pair.
inline bool isDoublePress(std::optional<Instant> previousPress, Instant currentPress) {
    if (!previousPress)
        return false;
    // A press "before" the previous one (the clock was set back) is no second press.
    const double gap = currentPress - *previousPress;
    return gap >= 0 && gap <= doublePressWindowSeconds;
}

/// Whether leaving the break now counts as having taken it: the drawing is finished, or the
/// user asked to end nearly-done breaks early and little enough rest is left.
inline bool exitCompletes(std::optional<double> remainingSeconds, bool nearlyDoneEnabled, bool drawingComplete) {
    if (drawingComplete)
        return true;
    return nearlyDoneEnabled && remainingSeconds && *remainingSeconds <= nearlyDoneThresholdSeconds;
}

} // namespace sorvala::BreakEscape
