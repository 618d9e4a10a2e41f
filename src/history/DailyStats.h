// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/Calendar.h"
#include "core/CivilDay.h"

#include <functional>
#include <map>
#include <vector>

namespace sorvala {

/// The resolved breaks of one day: how many were taken out of those taken or skipped.
struct DailyRate {
    int taken = 0;
    int resolved = 0; ///< never 0 for a day in the rates

    /// Whether the day counts toward a streak: at least four in five breaks taken.
    bool qualifies() const { return resolved > 0 && double(taken) / double(resolved) >= 0.8; }
    bool operator==(const DailyRate&) const = default;
};

namespace BreakLog {

/// Taken and resolved breaks per local day; only days with a taken or skipped break appear.
std::map<CivilDay, DailyRate> dailyRates(const std::vector<BreakEvent>& events, const Calendar& calendar);

/// Consecutive qualifying days ending yesterday or today; a today without a resolved break yet
/// neither breaks nor extends the streak.
int streak(const std::vector<BreakEvent>& events, Instant today, const Calendar& calendar);

/// The same streak, read from `eventsSince(from)`, which answers the events dated from `from` on:
/// it asks for a few days first and for more only while the streak runs back to the oldest day it
/// was given, so a history is read as far back as the streak goes.
int streakFromRecent(const std::function<std::vector<BreakEvent>(Instant from)>& eventsSince, Instant today,
                     const Calendar& calendar);

/// The longest run of consecutive qualifying days in the whole history.
int longestStreak(const std::vector<BreakEvent>& events, const Calendar& calendar);

/// The snoozes ("postponed" events) on the local day of `on`.
int postponedCount(const std::vector<BreakEvent>& events, Instant on, const Calendar& calendar);

} // namespace BreakLog

} // namespace sorvala
