// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

namespace sorvala {
class PreferencesStore;
}

/// When the posture and blink reminders are due and what they say.
namespace sorvala::WellnessNudge {

enum class Kind { posture = 0, blink = 1 };

/// How long a reminder stays on screen.
inline constexpr double displaySeconds = 6.0;
/// Reminders stay out of screen recordings and shares.
inline constexpr bool hidesFromRecording = true;
/// Reminders wait while a smart-pause cause is active.
inline constexpr bool pausesDuringSmartPause = true;

/// "Stand up" or "Blink".
std::string message(Kind kind);
/// "posture" or "blink", for log lines.
std::string_view text(Kind kind);
/// The kind whose message is `body`; none for any other text.
std::optional<Kind> kind(std::string_view body);

/// The kind to show after `last`: the two alternate (posture first) while both are on.
std::optional<Kind> nextKind(std::optional<Kind> last, bool postureEnabled, bool blinkEnabled);
/// `nextKind` with the two switches read from `store` now.
std::optional<Kind> storedNextKind(std::optional<Kind> last, const PreferencesStore& store);

/// Whether a reminder may show now.
bool shouldShow(bool onBreak, bool paused, bool withinWorkingHours, bool smartPauseActive,
                bool pauseDuringSmartPause);
/// `shouldShow` with the fixed smart-pause rule.
bool storedShouldShow(bool onBreak, bool paused, bool withinWorkingHours, bool smartPauseActive);

/// Seconds between reminders; none while both reminders are off.
std::optional<double> storedIntervalSeconds(const PreferencesStore& store);

} // namespace sorvala::WellnessNudge
