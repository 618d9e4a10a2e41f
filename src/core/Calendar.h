// SPDX-License-Identifier: MIT
#pragma once

#include "core/CivilDay.h"
#include "core/Instant.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// Local date and time of an instant in a calendar's time zone.
struct DateComponents {
    CivilDay day;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 1; ///< 1 = Sunday ... 7 = Saturday

    int minutesOfDay() const { return hour * 60 + minute; }
};

/// The user's calendar and time zone. Implementations answer only the zone's offset; every
/// calendar question (start of day, weekday, next 09:30, ...) is derived from it here.
class Calendar {
public:
    virtual ~Calendar() = default;

    /// Seconds east of UTC in force at `instant`.
    virtual int utcOffsetSeconds(Instant instant) const = 0;
    /// The first day of a week in the user's locale: 1 = Sunday, 2 = Monday.
    virtual int firstWeekday() const = 0;
    /// The zone's name ("Europe/Berlin"), for logs and exports.
    virtual std::string timeZoneId() const = 0;
    /// The locale's one-letter weekday names, Sunday first ("S", "M", "T", ... by default).
    virtual std::vector<std::string> veryShortWeekdaySymbols() const { return defaultVeryShortWeekdaySymbols(); }
    /// "S", "M", "T", "W", "T", "F", "S".
    static std::vector<std::string> defaultVeryShortWeekdaySymbols();

    /// The local date and wall-clock time of `instant`.
    DateComponents components(Instant instant) const;
    /// The local day `instant` falls on.
    CivilDay day(Instant instant) const { return components(instant).day; }

    /// The instant of a local wall-clock time. A time skipped by a daylight-saving change resolves
    /// to the first moment after the gap; a time that occurs twice resolves to its first occurrence.
    Instant instant(CivilDay day, int hour, int minute, double second = 0) const;

    /// The first moment of the local day `instant` falls on.
    Instant startOfDay(Instant instant) const;
    /// The first moment of `day`.
    Instant startOfDay(CivilDay day) const { return instant(day, 0, 0); }
    /// The first moment of the day after `day`.
    Instant endOfDay(CivilDay day) const { return instant(day.addingDays(1), 0, 0); }

    /// The next instant strictly after `after` whose local time is hour:minute:00.
    Instant nextTime(Instant after, int hour, int minute) const;
};

} // namespace sorvala
