// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

/// The preference keys of the settings schema. The table itself (types, defaults, dependencies)
/// is app/SettingsSchema.h; the keys live here so the scheduling core can read its settings.
namespace sorvala::SettingsSchema {

inline constexpr std::string_view reminderMinutesKey = "reminderMinutes";
inline constexpr std::string_view microMinutesKey = "microMinutes";
inline constexpr std::string_view breakCycleEnabledKey = "breakCycleEnabled";
inline constexpr std::string_view breakCycleLengthKey = "breakCycleLength";
inline constexpr std::string_view fixedBreakTimesKey = "fixedBreakTimes";
inline constexpr std::string_view workingHoursEnabledKey = "workingHoursEnabled";
inline constexpr std::string_view workingHoursStartMinutesKey = "workingHoursStartMinutes";
inline constexpr std::string_view workingHoursEndMinutesKey = "workingHoursEndMinutes";
inline constexpr std::string_view workingWeekdaysMaskKey = "workingWeekdaysMask";
inline constexpr std::string_view enforcementLongBreaksKey = "enforcementLongBreaks";
inline constexpr std::string_view enforcementMicroBreaksKey = "enforcementMicroBreaks";
inline constexpr std::string_view lockScreenOnBreakStartKey = "lockScreenOnBreakStart";
inline constexpr std::string_view snoozesPerSessionKey = "snoozesPerSession";
inline constexpr std::string_view snoozesPerDayKey = "snoozesPerDay";
inline constexpr std::string_view showSnoozesRemainingKey = "showSnoozesRemaining";
inline constexpr std::string_view doubleEscapeSkipsKey = "doubleEscapeSkips";
inline constexpr std::string_view endNearlyDoneKey = "endBreakWhenNearlyDone";
inline constexpr std::string_view preBreakOverlayKey = "preBreakOverlay";
inline constexpr std::string_view preBreakOverlayPositionKey = "preBreakOverlayPosition";
inline constexpr std::string_view overtimeNudgeKey = "overtimeNudge";
inline constexpr std::string_view overtimeNudgeWhilePausedKey = "overtimeNudgeWhilePaused";
inline constexpr std::string_view menuBarCountdownKey = "menuBarCountdown";
inline constexpr std::string_view softChimeEnabledKey = "softChimeEnabled";
inline constexpr std::string_view soundPairKey = "soundPair";
inline constexpr std::string_view breaksSoundVolumeKey = "breaksSoundVolume";
inline constexpr std::string_view reminderSoundEnabledKey = "reminderSoundEnabled";
inline constexpr std::string_view smartPauseSoundEnabledKey = "smartPauseSoundEnabled";
inline constexpr std::string_view activeAfterIdleSoundEnabledKey = "activeAfterIdleSoundEnabled";
inline constexpr std::string_view remindersSoundVolumeKey = "remindersSoundVolume";
inline constexpr std::string_view overtimeNudgeSoundEnabledKey = "overtimeNudgeSoundEnabled";
inline constexpr std::string_view nudgesSoundVolumeKey = "nudgesSoundVolume";
inline constexpr std::string_view excludedAppBundleIdentifiersKey = "excludedAppBundleIdentifiers";
inline constexpr std::string_view pauseDuringVideoKey = "pauseDuringVideo";
inline constexpr std::string_view pauseDuringCalendarEventsKey = "pauseDuringCalendarEvents";
inline constexpr std::string_view pauseDuringScreenCaptureKey = "pauseDuringScreenCapture";
inline constexpr std::string_view smartPauseCooldownSecondsKey = "smartPauseCooldownSeconds";
inline constexpr std::string_view smartPauseAlertsKey = "smartPauseAlerts";
inline constexpr std::string_view wellnessPostureKey = "wellnessPostureNudge";
inline constexpr std::string_view wellnessBlinkKey = "wellnessBlinkNudge";
inline constexpr std::string_view wellnessIntervalMinutesKey = "wellnessNudgeIntervalMinutes";
inline constexpr std::string_view breakStartCommandKey = "breakStartCommand";
inline constexpr std::string_view breakEndCommandKey = "breakEndCommand";
/// The iCalendar files and folders the calendar cause reads (a list of paths).
inline constexpr std::string_view calendarSourcesKey = "calendarSources";

/// Booleans of an earlier version, known only to the migration.
inline constexpr std::string_view strictLongBreaksEnabledKey = "strictLongBreaksEnabled";
inline constexpr std::string_view strictMicroBreaksEnabledKey = "strictMicroBreaksEnabled";

/// Monday to Friday as a weekday mask.
inline constexpr int weekdaysMaskMondayToFriday = 62;

} // namespace sorvala::SettingsSchema
