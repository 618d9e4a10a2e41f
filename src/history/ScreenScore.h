// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/Calendar.h"
#include "core/CivilDay.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// How well one day was paced: 100 minus a deduction for every long stretch without rest and
/// for every skipped break.
struct ScreenScore {
    /// One deduction, with the sentence that explains it.
    struct Factor {
        std::string label;
        int points = 0; ///< always negative
        bool operator==(const Factor&) const = default;
    };

    int score = 100;
    std::vector<Factor> factors;
    double unobservedSeconds = 0;

    bool operator==(const ScreenScore&) const = default;

    /// The events of each local day, in file order.
    using DayBuckets = std::map<CivilDay, std::vector<BreakEvent>>;

    /// The score of the local day of `on` from the whole history; nullopt for a day without events.
    static std::optional<ScreenScore> daily(const std::vector<BreakEvent>& events, Instant on, int intervalMinutes,
                                            const Calendar& calendar);
    /// The same from events already bucketed by day, for scoring many days at once.
    static std::optional<ScreenScore> daily(const DayBuckets& bucket, Instant on, int intervalMinutes,
                                            const Calendar& calendar);
    /// The score of `day` from a bucket.
    static std::optional<ScreenScore> daily(const DayBuckets& bucket, CivilDay day, int intervalMinutes);
    /// The score of one day's events (any order); nullopt when there are none.
    static std::optional<ScreenScore> ofDay(std::vector<BreakEvent> dayEvents, int intervalMinutes);

    /// Groups the history by the local day of each event.
    static DayBuckets bucketByDay(const std::vector<BreakEvent>& events, const Calendar& calendar);

    /// Seconds of [from, to) covered by the rest spans of `dayEvents`, overlaps counted once; an
    /// excused hold rests at most `intervalSeconds`.
    static double restSeconds(const std::vector<BreakEvent>& dayEvents, Instant from, Instant to,
                              double intervalSeconds);

    /// A span of whole seconds as "45m" or "1h 5m" (minutes and hours truncated).
    static std::string durationText(long long seconds);
};

} // namespace sorvala
