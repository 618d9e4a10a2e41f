// SPDX-License-Identifier: MIT
#include "support/CoreDefaults.h"

#include "core/SettingsKeys.h"

namespace sorvala {

void registerCoreDefaults(PreferencesStore& store) {
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
