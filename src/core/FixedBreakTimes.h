// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"
#include "core/Instant.h"

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// A time of day, to the minute.
struct ClockTime {
    int hour = 0;   ///< 0 to 23
    int minute = 0; ///< 0 to 59

    int minutesOfDay() const { return hour * 60 + minute; }
    /// "05:09".
    std::string formatted() const;

    bool operator==(const ClockTime& other) const { return minutesOfDay() == other.minutesOfDay(); }
    auto operator<=>(const ClockTime& other) const { return minutesOfDay() <=> other.minutesOfDay(); }
};

/// Planned breaks at clock times, stored as one text such as "09:30, 13:00".
namespace FixedBreakTimes {
/// The valid times of `text` in input order; invalid pieces are skipped silently.
std::vector<ClockTime> parse(std::string_view text);
/// The times sorted, formatted and joined by ", "; duplicates stay.
std::string formatted(std::vector<ClockTime> times);
/// The earliest instant strictly after `after` at one of `times` (seconds zero); a time skipped
/// by a daylight-saving change fires when the gap ends, a repeated one at its first occurrence.
std::optional<Instant> nextFireDate(Instant after, const std::vector<ClockTime>& times, const Calendar& calendar);
} // namespace FixedBreakTimes

} // namespace sorvala
