// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"
#include "core/Instant.h"

#include <string>
#include <vector>

namespace sorvala {

class PreferencesStore;

/// The window of the day (and the weekdays) in which breaks may fire.
struct WorkingHours {
    bool isEnabled = false;
    int startMinutes = 540;
    int endMinutes = 1020;
    int weekdaysMask = 62; ///< bit (w - 1) for weekday w, 1 = Sunday ... 7 = Saturday

    /// Reads the four working-hours settings.
    static WorkingHours stored(const PreferencesStore& store);
    /// `stored(store).contains(date, calendar)`, reading the window only while it is on.
    static bool storedContains(const PreferencesStore& store, Instant date, const Calendar& calendar);

    bool isOvernight() const { return startMinutes >= endMinutes; }
    bool containsMinutesOfDay(int minutesOfDay) const;
    /// Whether `date` lies inside the window; an overnight window's small hours belong to the
    /// weekday of the evening before.
    bool contains(Instant date, const Calendar& calendar) const;
    /// Whether a planned break at this minute of the day can ever fire.
    bool everFires(int minutesOfDay) const;
    /// The explanation shown when the planned breaks `times` can never fire.
    std::string plannedBreakRejection(const std::vector<std::string>& times) const;

    bool operator==(const WorkingHours&) const = default;
};

} // namespace sorvala
