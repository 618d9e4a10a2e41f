// SPDX-License-Identifier: MIT
#include "notices/OvertimeNudge.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "i18n/I18n.h"

#include <cmath>

namespace sorvala::OvertimeNudge {

std::optional<std::string> text(bool enabled, bool onBreak, bool paused, bool showWhilePaused,
                                bool withinWorkingHours, bool dismissed, double workedSeconds,
                                int limitMinutes) {
    if (!enabled || onBreak || !withinWorkingHours || dismissed || (paused && !showWhilePaused) ||
        limitMinutes < 1)
        return std::nullopt;
    // A clock gone wrong can hand in nonsense; it must not become an undefined conversion.
    if (!std::isfinite(workedSeconds) || workedSeconds < 0 || workedSeconds > 1e12)
        return std::nullopt;
    const long long minutes = static_cast<long long>(workedSeconds) / 60;
    if (minutes < limitMinutes)
        return std::nullopt;
    if (minutes < 60)
        // TRANSLATORS: a short badge; m abbreviates minutes.
        return i18n("%1m without a break", minutes);
    if (minutes % 60 == 0)
        // TRANSLATORS: a short badge; h abbreviates hours.
        return i18n("%1h without a break", minutes / 60);
    // TRANSLATORS: a short badge; h and m abbreviate hours and minutes.
    return i18n("%1h %2m without a break", minutes / 60, minutes % 60);
}

std::optional<std::string> storedText(bool onBreak, bool paused, bool withinWorkingHours, bool dismissed,
                                      double workedSeconds, int limitMinutes, const PreferencesStore& store) {
    return text(store.boolean(SettingsSchema::overtimeNudgeKey), onBreak, paused,
                store.boolean(SettingsSchema::overtimeNudgeWhilePausedKey), withinWorkingHours, dismissed,
                workedSeconds, limitMinutes);
}

} // namespace sorvala::OvertimeNudge
