// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace sorvala {

/// How many snoozes the user may take, per session (since the last long-break heads-up) and per day.
/// A limit of 0 or less means unlimited.
struct SnoozeBudget {
    int sessionLimit = 0;
    int dailyLimit = 0;

    /// Snoozes left, never negative; nullopt when both limits are unlimited.
    std::optional<int> remaining(int sessionCount, int dailyCount) const;
    /// Whether one more snooze fits the budget.
    bool allowsSnooze(int sessionCount, int dailyCount) const;

    bool operator==(const SnoozeBudget&) const = default;
};

} // namespace sorvala
