// SPDX-License-Identifier: MIT
#include "sensing/Sensors.h"

#include "core/BreakTiming.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "core/SmartPauseCooldown.h"
#include "core/Text.h"
#include "core/WorkingHours.h"
#include "sensing/SystemSignals.h"

#include <algorithm>

namespace sorvala::Sensors {

namespace {

namespace Keys = SettingsSchema;

/// The texts and flags of the fixed list; the probes are bound in `smartPauseCauses`.
struct CauseText {
    std::string_view menuLabel;
    std::string_view alertDescription;
    bool alwaysOn;
    bool isAttendedActivity;
};

constexpr CauseText causeTexts[] = {
    {callLabel, I18N_NOOP("you're on a call"), true, true},
    {fullscreenLabel, I18N_NOOP("a fullscreen app is active"), true, false},
    {videoLabel, I18N_NOOP("a video is playing"), false, false},
    {calendarLabel, I18N_NOOP("a calendar event is in progress"), false, true},
    {screenCaptureLabel, I18N_NOOP("the screen is being recorded or shared"), false, true},
    {doNotDisturbLabel, I18N_NOOP("Do Not Disturb is on"), true, false},
    {excludedAppLabel, I18N_NOOP("an excluded app is active"), false, false},
};

SmartPauseCause boundCause(const CauseText& text, std::function<bool()> probe) {
    return SmartPauseCause{std::move(probe), std::string(text.alertDescription), std::string(text.menuLabel),
                           text.alwaysOn, text.isAttendedActivity};
}

bool meetsIdleThreshold(double idleSeconds) {
    return idleSeconds >= BreakTiming::idleResetThreshold;
}

} // namespace

bool SmartPauseReading::operator==(const SmartPauseReading& other) const {
    if (presenceProven != other.presenceProven || active.has_value() != other.active.has_value())
        return false;
    return !active || active->menuLabel == other.active->menuLabel;
}

std::vector<SmartPauseCause> smartPauseCauses(SystemSignals& system, const PreferencesStore& store,
                                              Instant now) {
    SystemSignals* const s = &system;
    const PreferencesStore* const prefs = &store;
    return {
        boundCause(causeTexts[0], [s] { return s->microphoneInUse(); }),
        boundCause(causeTexts[1], [s] { return s->frontmostApplicationIsFullscreen(); }),
        boundCause(causeTexts[2], [s, prefs] { return videoBlocksBreak(*prefs, *s); }),
        boundCause(causeTexts[3], [s, prefs, now] { return calendarBlocksBreak(*prefs, *s, now); }),
        boundCause(causeTexts[4], [s, prefs] { return screenCaptureBlocksBreak(*prefs, *s); }),
        boundCause(causeTexts[5], [s] { return s->doNotDisturbActive(); }),
        boundCause(causeTexts[6], [s, prefs] { return frontmostApplicationIsExcluded(*prefs, *s); }),
    };
}

// Shown to people only (the settings window, the welcome pages): in their language.
std::vector<std::string> alwaysOnCauseMenuLabels() {
    std::vector<std::string> labels;
    for (const auto& text : causeTexts)
        if (text.alwaysOn)
            labels.push_back(Translation::translated(nullptr, text.menuLabel.data()));
    return labels;
}

std::string alwaysOnCauseLabels() {
    return Text::joined(alwaysOnCauseMenuLabels());
}

SmartPauseReading sweepSmartPause(const std::vector<SmartPauseCause>& causes, double idleSeconds) {
    const bool idleEnough = meetsIdleThreshold(idleSeconds);
    SmartPauseReading reading;
    for (const auto& cause : causes) {
        // Once a cause is active, only an attended cause can still change the result, and only
        // while the idleness needs explaining.
        const bool worthProbing =
            !reading.active || (idleEnough && !reading.presenceProven && cause.isAttendedActivity);
        if (!worthProbing || !cause.isActive || !cause.isActive())
            continue;
        if (!reading.active)
            reading.active = cause;
        if (idleEnough && cause.isAttendedActivity)
            reading.presenceProven = true;
    }
    return reading;
}

SmartPauseReading sweepSmartPause(SystemSignals& system, const PreferencesStore& store, Instant now,
                                  double idleSeconds) {
    return sweepSmartPause(smartPauseCauses(system, store, now), idleSeconds);
}

SmartPauseReading sweepSmartPauseForPresence(const std::vector<SmartPauseCause>& causes, double idleSeconds) {
    if (!meetsIdleThreshold(idleSeconds))
        return {};
    return sweepSmartPause(causes, idleSeconds);
}

SmartPauseReading sweepSmartPauseForPresence(SystemSignals& system, const PreferencesStore& store,
                                             Instant now, double idleSeconds) {
    if (!meetsIdleThreshold(idleSeconds))
        return {};
    return sweepSmartPause(system, store, now, idleSeconds);
}

std::optional<SmartPauseCause> firstActiveSmartPauseCause(const std::vector<SmartPauseCause>& causes) {
    const auto found = std::find_if(causes.begin(), causes.end(), [](const SmartPauseCause& cause) {
        return cause.isActive && cause.isActive();
    });
    if (found == causes.end())
        return std::nullopt;
    return *found;
}

std::optional<SmartPauseCause> firstActiveSmartPauseCause(SystemSignals& system,
                                                          const PreferencesStore& store, Instant now) {
    return firstActiveSmartPauseCause(smartPauseCauses(system, store, now));
}

bool smartPauseBlockerActive(SystemSignals& system, const PreferencesStore& store, Instant now) {
    return firstActiveSmartPauseCause(system, store, now).has_value();
}

std::optional<std::string> activeSmartPauseCause(SystemSignals& system, const PreferencesStore& store,
                                                 Instant now) {
    if (auto cause = firstActiveSmartPauseCause(system, store, now))
        return std::move(cause->menuLabel);
    return std::nullopt;
}

std::optional<SmartPauseCause> smartPauseCause(std::string_view menuLabel, SystemSignals& system,
                                               const PreferencesStore& store, Instant now) {
    for (auto& cause : smartPauseCauses(system, store, now))
        if (cause.menuLabel == menuLabel)
            return std::move(cause);
    return std::nullopt;
}

double smartPauseCooldownRemaining(const PreferencesStore& store, std::optional<Instant> lastBlockedAt,
                                   Instant now) {
    // Asked every second, mostly with no break ever held: the setting would decide nothing.
    if (!lastBlockedAt)
        return 0;
    return SmartPauseCooldown::remainingSeconds(lastBlockedAt,
                                                store.integer(Keys::smartPauseCooldownSecondsKey), now);
}

bool withinWorkingHours(const PreferencesStore& store, const Calendar& calendar, Instant now) {
    return WorkingHours::storedContains(store, now, calendar);
}

bool blocksBreak(bool enabled, const std::function<bool()>& signal) {
    return enabled && signal && signal();
}

bool videoBlocksBreak(const PreferencesStore& store, const std::function<bool()>& signal) {
    return blocksBreak(store.boolean(Keys::pauseDuringVideoKey), signal);
}

bool videoBlocksBreak(const PreferencesStore& store, SystemSignals& system) {
    return videoBlocksBreak(store, [&system] { return system.videoPlaying(); });
}

bool calendarBlocksBreak(const PreferencesStore& store, const std::function<bool()>& signal) {
    return blocksBreak(store.boolean(Keys::pauseDuringCalendarEventsKey), signal);
}

bool calendarBlocksBreak(const PreferencesStore& store, SystemSignals& system, Instant now) {
    return calendarBlocksBreak(store, [&] {
        const auto sources = calendarSources(store);
        return !sources.empty() && system.calendarEventInProgress(sources, now);
    });
}

bool screenCaptureBlocksBreak(const PreferencesStore& store, const std::function<bool()>& signal) {
    return blocksBreak(store.boolean(Keys::pauseDuringScreenCaptureKey), signal);
}

bool screenCaptureBlocksBreak(const PreferencesStore& store, SystemSignals& system) {
    return screenCaptureBlocksBreak(store, [&system] { return system.screenCaptured(); });
}

bool applicationIsExcluded(const std::optional<std::string>& frontmost,
                           const std::vector<std::string>& excluded) {
    return frontmost && std::find(excluded.begin(), excluded.end(), *frontmost) != excluded.end();
}

bool frontmostApplicationIsExcluded(const PreferencesStore& store, SystemSignals& system) {
    const auto excluded =
        store.textList(Keys::excludedAppBundleIdentifiersKey).value_or(std::vector<std::string>{});
    if (excluded.empty())
        return false;
    return applicationIsExcluded(system.frontmostApplicationBundleIdentifier(), excluded);
}

std::vector<std::string> calendarSources(const PreferencesStore& store) {
    auto sources = store.textList(Keys::calendarSourcesKey).value_or(std::vector<std::string>{});
    std::erase_if(sources, [](const std::string& source) { return source.empty(); });
    return sources;
}

} // namespace sorvala::Sensors
