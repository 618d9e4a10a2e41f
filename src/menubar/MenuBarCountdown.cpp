// SPDX-License-Identifier: MIT
#include "menubar/MenuBarCountdown.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sorvala {

bool MenuBarCountdown::isEnabled(const PreferencesStore& store) {
    return store.boolean(SettingsSchema::menuBarCountdownKey);
}

std::optional<std::string> MenuBarCountdown::title(bool enabled, bool onBreak, bool paused,
                                                   std::optional<long long> secondsToNextBreak) {
    if (!enabled || onBreak || paused || !secondsToNextBreak)
        return std::nullopt;
    const long long s = std::max(0LL, *secondsToNextBreak);
    char buffer[48];
    if (s < 3600)
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld", s / 60, s % 60);
    else
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", s / 3600, (s % 3600) / 60, s % 60);
    return std::string(buffer);
}

std::optional<long long> MenuBarCountdown::wholeSeconds(std::optional<double> secondsToNextBreak) {
    if (!secondsToNextBreak || !std::isfinite(*secondsToNextBreak))
        return std::nullopt;
    return std::llround(std::clamp(*secondsToNextBreak, -1e12, 1e12));
}

std::string MenuBarCountdown::iconText(double secondsToNextBreak) {
    const double s = std::isfinite(secondsToNextBreak) ? std::clamp(secondsToNextBreak, 0.0, 1e9) : 0.0;
    const auto minutes = static_cast<long long>(std::ceil(s / 60));
    if (minutes < 60)
        return std::to_string(std::max(1LL, minutes));
    return std::to_string(std::clamp(static_cast<long long>(s / 3600), 1LL, 99LL)) + "h";
}

} // namespace sorvala
