// SPDX-License-Identifier: MIT
#include "notices/OvertimeNudge.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"

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
    std::string duration;
    if (minutes > 59) {
        const long long hours = minutes / 60;
        const long long rest = minutes % 60;
        duration = std::to_string(hours) + "h" + (rest != 0 ? " " + std::to_string(rest) + "m" : "");
    } else {
        duration = std::to_string(minutes) + "m";
    }
    return duration + " without a break";
}

std::optional<std::string> storedText(bool onBreak, bool paused, bool withinWorkingHours, bool dismissed,
                                      double workedSeconds, int limitMinutes, const PreferencesStore& store) {
    return text(store.boolean(SettingsSchema::overtimeNudgeKey), onBreak, paused,
                store.boolean(SettingsSchema::overtimeNudgeWhilePausedKey), withinWorkingHours, dismissed,
                workedSeconds, limitMinutes);
}

} // namespace sorvala::OvertimeNudge
