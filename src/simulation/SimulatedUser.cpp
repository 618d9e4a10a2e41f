// SPDX-License-Identifier: MIT
#include "simulation/SimulatedUser.h"

#include "core/Clock.h"
#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"
#include "sensing/Sensors.h"

#include <cmath>

namespace sorvala {

namespace {

constexpr std::string_view causeLabels[] = {Sensors::callLabel,           Sensors::fullscreenLabel,
                                            Sensors::videoLabel,          Sensors::calendarLabel,
                                            Sensors::screenCaptureLabel, Sensors::doNotDisturbLabel,
                                            Sensors::excludedAppLabel};

} // namespace

SimulatedUser::SimulatedUser(const Clock& clock, const PreferencesStore& store)
    : m_clock(clock), m_store(store), m_since(clock.now()), m_lastInputAt(clock.now()) {}

bool SimulatedUser::isCauseLabel(std::string_view label) {
    for (const auto known : causeLabels)
        if (known == label)
            return true;
    return false;
}

void SimulatedUser::setActivity(Activity activity) {
    const auto now = m_clock.now();
    if (m_activity != Activity::idle)
        m_lastInputAt = now;
    if (m_activity == Activity::work)
        m_lastKeyAt = now;
    m_activity = activity;
    m_since = now;
}

bool SimulatedUser::setCause(std::string_view label, bool active) {
    if (!isCauseLabel(label))
        return false;
    m_causes.insert_or_assign(std::string(label), active);
    return true;
}

bool SimulatedUser::causeActive(std::string_view label) const {
    const auto found = m_causes.find(label);
    return found != m_causes.end() && found->second;
}

double SimulatedUser::sinceTick() const {
    return std::fmod(m_clock.now() - m_since, 1.0);
}

double SimulatedUser::secondsSinceLastInput() {
    return m_activity == Activity::idle ? m_clock.now() - m_lastInputAt : sinceTick();
}

std::optional<double> SimulatedUser::secondsSinceLastKeyDown() {
    if (m_activity == Activity::work)
        return sinceTick();
    if (!m_lastKeyAt)
        return 1e9;
    return m_clock.now() - *m_lastKeyAt;
}

std::optional<std::string> SimulatedUser::frontmostApplicationBundleIdentifier() {
    // The excluded-app cause stands for the first application of the user's list being in front.
    if (!causeActive(Sensors::excludedAppLabel))
        return std::nullopt;
    const auto excluded = m_store.textList(SettingsSchema::excludedAppBundleIdentifiersKey);
    if (!excluded || excluded->empty())
        return std::nullopt;
    return excluded->front();
}

bool SimulatedUser::frontmostApplicationIsFullscreen() {
    return causeActive(Sensors::fullscreenLabel);
}

bool SimulatedUser::videoPlaying() {
    return causeActive(Sensors::videoLabel);
}

bool SimulatedUser::microphoneInUse() {
    return causeActive(Sensors::callLabel);
}

bool SimulatedUser::screenCaptured() {
    return causeActive(Sensors::screenCaptureLabel);
}

bool SimulatedUser::doNotDisturbActive() {
    return causeActive(Sensors::doNotDisturbLabel);
}

bool SimulatedUser::calendarEventInProgress(const std::vector<std::string>&, Instant) {
    return causeActive(Sensors::calendarLabel);
}

std::string_view text(SimulatedUser::Activity activity) {
    switch (activity) {
    case SimulatedUser::Activity::work: return "work";
    case SimulatedUser::Activity::read: return "read";
    case SimulatedUser::Activity::idle: return "idle";
    }
    return "idle";
}

} // namespace sorvala
