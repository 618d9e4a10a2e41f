// SPDX-License-Identifier: MIT
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace sorvala {

/// A day of the proleptic Gregorian calendar, free of any time zone.
struct CivilDay {
    int year = 1970;
    int month = 1; ///< 1 to 12
    int day = 1;   ///< 1 to 31

    /// Days since 1970-01-01 (negative before it).
    std::int64_t daysSinceEpoch() const;
    static CivilDay fromDaysSinceEpoch(std::int64_t days);

    CivilDay addingDays(std::int64_t days) const { return fromDaysSinceEpoch(daysSinceEpoch() + days); }
    /// Weekday number: 1 = Sunday ... 7 = Saturday.
    int weekday() const;
    static int daysInMonth(int year, int month);
    /// "2026-12-05".
    std::string isoText() const;

    auto operator<=>(const CivilDay&) const = default;
};

} // namespace sorvala
