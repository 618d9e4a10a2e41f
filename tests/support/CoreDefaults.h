// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"

namespace sorvala {

/// Registers the factory defaults of the settings the scheduling core reads: 20-minute long and
/// micro intervals, the cycle on with length 3, 3 snoozes per session and none counted per day,
/// a 30-second cooldown, working hours off (09:00-17:00, Monday to Friday), casual enforcement.
inline void registerCoreDefaults(PreferencesStore& store) {
    using namespace SettingsSchema;
    const auto key = [](std::string_view k) { return std::string(k); };
    store.registerDefaults({
        {key(reminderMinutesKey), std::int64_t{20}},
        {key(microMinutesKey), std::int64_t{20}},
        {key(breakCycleEnabledKey), true},
        {key(breakCycleLengthKey), std::int64_t{3}},
        {key(snoozesPerSessionKey), std::int64_t{3}},
        {key(snoozesPerDayKey), std::int64_t{0}},
        {key(smartPauseCooldownSecondsKey), std::int64_t{30}},
        {key(workingHoursEnabledKey), false},
        {key(workingHoursStartMinutesKey), std::int64_t{540}},
        {key(workingHoursEndMinutesKey), std::int64_t{1020}},
        {key(workingWeekdaysMaskKey), std::int64_t{weekdaysMaskMondayToFriday}},
        {key(enforcementLongBreaksKey), std::string("casual")},
        {key(enforcementMicroBreaksKey), std::string("casual")},
    });
}

} // namespace sorvala
