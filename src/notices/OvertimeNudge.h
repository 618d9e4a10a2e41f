// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace sorvala {
class PreferencesStore;
}

/// The badge that says how long the user has worked past the break interval.
namespace sorvala::OvertimeNudge {

/// "1h 5m without a break", or none while the badge should not show.
std::optional<std::string> text(bool enabled, bool onBreak, bool paused, bool showWhilePaused,
                                bool withinWorkingHours, bool dismissed, double workedSeconds,
                                int limitMinutes);
/// `text` with the two switches read from `store` now.
std::optional<std::string> storedText(bool onBreak, bool paused, bool withinWorkingHours, bool dismissed,
                                      double workedSeconds, int limitMinutes, const PreferencesStore& store);

} // namespace sorvala::OvertimeNudge
