// SPDX-License-Identifier: MIT
#include "core/WorkingHours.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "core/Text.h"
#include "i18n/I18n.h"

namespace sorvala {

namespace {

WorkingHours storedWindow(bool isEnabled, const PreferencesStore& store) {
    return WorkingHours{isEnabled, store.boundedInteger(SettingsSchema::workingHoursStartMinutesKey),
                        store.boundedInteger(SettingsSchema::workingHoursEndMinutesKey),
                        store.boundedInteger(SettingsSchema::workingWeekdaysMaskKey)};
}

} // namespace

WorkingHours WorkingHours::stored(const PreferencesStore& store) {
    return storedWindow(store.boolean(SettingsSchema::workingHoursEnabledKey), store);
}

bool WorkingHours::storedContains(const PreferencesStore& store, Instant date, const Calendar& calendar) {
    // Asked every second: with the window off, its own three settings decide nothing.
    return !store.boolean(SettingsSchema::workingHoursEnabledKey) || storedWindow(true, store).contains(date, calendar);
}

bool WorkingHours::containsMinutesOfDay(int m) const {
    if (startMinutes < endMinutes)
        return startMinutes <= m && m < endMinutes;
    return m >= startMinutes || m < endMinutes;
}

bool WorkingHours::contains(Instant date, const Calendar& calendar) const {
    if (!isEnabled)
        return true;
    const DateComponents local = calendar.components(date);
    const int m = local.minutesOfDay();
    int day = local.weekday;
    if (startMinutes < endMinutes) {
        if (m < startMinutes || m >= endMinutes)
            return false;
    } else if (m < startMinutes) {
        if (m >= endMinutes)
            return false;
        day = day == 1 ? 7 : day - 1; // the window opened the evening before
    }
    return (weekdaysMask >> (day - 1) & 1) != 0;
}

bool WorkingHours::everFires(int minutesOfDay) const {
    if (!isEnabled)
        return true;
    return weekdaysMask != 0 && containsMinutesOfDay(minutesOfDay);
}

std::string WorkingHours::plannedBreakRejection(const std::vector<std::string>& times) const {
    if (weekdaysMask == 0)
        // TRANSLATORS: %1 lists times of day, such as "12:30, 15:00".
        return i18n("No working weekday is ticked, so the working hours window never opens and these planned "
                    "breaks can never fire: %1. Tick at least one working weekday, or turn working hours off.",
                    Text::joined(times));
    // TRANSLATORS: %1 lists times of day, such as "12:30, 15:00".
    return i18n("These planned breaks would never fire because they fall outside the working hours window: "
                "%1. Change the times or widen the working hours.",
                Text::joined(times));
}

} // namespace sorvala
