// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/SystemSignals.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

class Clock;
class PreferencesStore;

/// The user and the machine on virtual time: what the user does from a given moment on, which
/// smart-pause causes are active, whether the display sleeps.
class SimulatedUser final : public SystemSignals {
public:
    /// What the user does with keyboard and mouse.
    enum class Activity {
        work, ///< keys and mouse every second
        read, ///< the mouse every second, no keys
        idle, ///< nothing
    };

    /// A user idle since `clock`'s now, probing causes against `store`'s excluded apps.
    SimulatedUser(const Clock& clock, const PreferencesStore& store);

    /// From now on the user does `activity`.
    void setActivity(Activity activity);
    Activity activity() const { return m_activity; }
    /// Turns the cause with menu label `label` on or off; false for a label no cause has.
    bool setCause(std::string_view label, bool active);
    bool causeActive(std::string_view label) const;
    void setDisplayAsleep(bool asleep) { m_displayAsleep = asleep; }
    /// Whether `label` names a smart-pause cause.
    static bool isCauseLabel(std::string_view label);

    double secondsSinceLastInput() override;
    std::optional<double> secondsSinceLastKeyDown() override;
    bool displayIsAsleep() override { return m_displayAsleep; }
    bool everyDisplayIsAsleep() override { return m_displayAsleep; }
    std::optional<std::string> frontmostApplicationBundleIdentifier() override;
    bool frontmostApplicationIsFullscreen() override;
    bool videoPlaying() override;
    bool microphoneInUse() override;
    bool screenCaptured() override;
    bool doNotDisturbActive() override;
    bool calendarAccessGranted(const std::vector<std::string>&) override { return true; }
    bool calendarEventInProgress(const std::vector<std::string>& sources, Instant now) override;
    bool screenRecordingGranted() override { return true; }
    void lockScreen() override {}
    std::vector<Backend> backends() override { return {{"session", "simulated"}}; }

private:
    /// Seconds since the last whole second of an activity that gives input every second.
    double sinceTick() const;

    const Clock& m_clock;
    const PreferencesStore& m_store;
    Activity m_activity = Activity::idle;
    Instant m_since;
    Instant m_lastInputAt;
    std::optional<Instant> m_lastKeyAt;
    std::map<std::string, bool, std::less<>> m_causes;
    bool m_displayAsleep = false;
};

/// "work", "read" or "idle".
std::string_view text(SimulatedUser::Activity activity);

} // namespace sorvala
