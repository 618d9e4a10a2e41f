// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"
#include "i18n/I18n.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

class Calendar;
class PreferencesStore;
class SystemSignals;

/// The readings the scheduling core takes of the user and the machine, and the smart-pause
/// causes that hold a due break while the user is busy.
namespace Sensors {

/// A reason to hold a due break: its probe and the texts the rest of the system shows for it.
struct SmartPauseCause {
    /// The probe: true while this cause holds breaks.
    std::function<bool()> isActive;
    /// Lower-case clause completing "Break waiting while ...".
    std::string alertDescription;
    /// Short capitalised label for the menu; also the cause's identity.
    std::string menuLabel;
    /// No setting switches this cause off.
    bool alwaysOn = false;
    /// While active, the user is at the machine even without input.
    bool isAttendedActivity = false;
};

/// One sweep's result: the first active cause in list order, and whether an attended cause
/// proves presence through at least `BreakTiming::idleResetThreshold` of idleness.
struct SmartPauseReading {
    std::optional<SmartPauseCause> active;
    bool presenceProven = false;

    /// Equal when presence agrees and both have no cause or causes with the same label.
    bool operator==(const SmartPauseReading& other) const;
};

/// The labels of the causes, in list order (the order is their priority). They name causes in
/// scenarios and logs as they stand and are translated where a person reads them.
inline constexpr std::string_view callLabel = I18N_NOOP("On a call");
inline constexpr std::string_view fullscreenLabel = I18N_NOOP("Fullscreen app");
inline constexpr std::string_view videoLabel = I18N_NOOP("Video playing");
inline constexpr std::string_view calendarLabel = I18N_NOOP("In a calendar event");
inline constexpr std::string_view screenCaptureLabel = I18N_NOOP("Screen recorded or shared");
inline constexpr std::string_view doNotDisturbLabel = I18N_NOOP("Do Not Disturb on");
inline constexpr std::string_view excludedAppLabel = I18N_NOOP("Excluded app active");

/// The fixed, ordered cause list with its probes bound to `system` and `store`; the calendar
/// probe asks about `now`. Settings are read inside each probe, at the moment it runs.
std::vector<SmartPauseCause> smartPauseCauses(SystemSignals& system, const PreferencesStore& store,
                                              Instant now);

/// The labels of the always-on causes joined by ", ", for the settings window.
std::string alwaysOnCauseLabels();
/// The labels of the always-on causes in list order.
std::vector<std::string> alwaysOnCauseMenuLabels();

/// Sweeps `causes` lazily: probes until the first active cause, then only attended causes while
/// the idle threshold is met and presence is not yet proven.
SmartPauseReading sweepSmartPause(const std::vector<SmartPauseCause>& causes, double idleSeconds);
/// The sweep over the fixed list.
SmartPauseReading sweepSmartPause(SystemSignals& system, const PreferencesStore& store, Instant now,
                                  double idleSeconds);

/// The empty reading, probing nothing, below the idle threshold; the full sweep from it on.
SmartPauseReading sweepSmartPauseForPresence(const std::vector<SmartPauseCause>& causes, double idleSeconds);
/// The presence sweep over the fixed list.
SmartPauseReading sweepSmartPauseForPresence(SystemSignals& system, const PreferencesStore& store,
                                             Instant now, double idleSeconds);

/// The first cause whose probe answers true, probing in order and stopping at the first hit.
std::optional<SmartPauseCause> firstActiveSmartPauseCause(const std::vector<SmartPauseCause>& causes);
/// The first active cause of the fixed list.
std::optional<SmartPauseCause> firstActiveSmartPauseCause(SystemSignals& system,
                                                          const PreferencesStore& store, Instant now);
/// Whether some cause of the fixed list holds breaks now.
bool smartPauseBlockerActive(SystemSignals& system, const PreferencesStore& store, Instant now);
/// The label of the first active cause of the fixed list.
std::optional<std::string> activeSmartPauseCause(SystemSignals& system, const PreferencesStore& store,
                                                 Instant now);
/// The cause of the fixed list whose label is exactly `menuLabel`; nullopt when none is.
std::optional<SmartPauseCause> smartPauseCause(std::string_view menuLabel, SystemSignals& system,
                                               const PreferencesStore& store, Instant now);

/// Seconds of the smart-pause cooldown left after a hold that ended at `lastBlockedAt`, with
/// the cooldown length read from the "smartPauseCooldownSeconds" setting.
double smartPauseCooldownRemaining(const PreferencesStore& store, std::optional<Instant> lastBlockedAt,
                                   Instant now);

/// Whether the stored working hours contain `now` in the user's calendar.
bool withinWorkingHours(const PreferencesStore& store, const Calendar& calendar, Instant now);

/// False when disabled, without calling `signal`; else `signal()`.
bool blocksBreak(bool enabled, const std::function<bool()>& signal);
/// A playing video holds breaks when "pauseDuringVideo" is on.
bool videoBlocksBreak(const PreferencesStore& store, const std::function<bool()>& signal);
bool videoBlocksBreak(const PreferencesStore& store, SystemSignals& system);
/// A calendar event holds breaks when "pauseDuringCalendarEvents" is on.
bool calendarBlocksBreak(const PreferencesStore& store, const std::function<bool()>& signal);
bool calendarBlocksBreak(const PreferencesStore& store, SystemSignals& system, Instant now);
/// A screen share or recording holds breaks when "pauseDuringScreenCapture" is on.
bool screenCaptureBlocksBreak(const PreferencesStore& store, const std::function<bool()>& signal);
bool screenCaptureBlocksBreak(const PreferencesStore& store, SystemSignals& system);

/// Whether the frontmost application's id is in `excluded`, exactly (case-sensitive); an
/// unknown frontmost application never is.
bool applicationIsExcluded(const std::optional<std::string>& frontmost,
                           const std::vector<std::string>& excluded);
/// The stored "excludedAppBundleIdentifiers" list (absent reads as empty) against the
/// frontmost application; with an empty list the frontmost application is not even asked.
bool frontmostApplicationIsExcluded(const PreferencesStore& store, SystemSignals& system);

/// The calendar sources chosen by the user ("calendarSources"); absent reads as none.
std::vector<std::string> calendarSources(const PreferencesStore& store);

} // namespace Sensors

} // namespace sorvala
