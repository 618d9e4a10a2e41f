// SPDX-License-Identifier: MIT
#include "sensing/DeferredSystemSignals.h"

#include <utility>

namespace sorvala {

DeferredSystemSignals::DeferredSystemSignals(Factory make) : m_make(std::move(make)) {}

SystemSignals& DeferredSystemSignals::real() {
    if (!m_real) {
        m_real = m_make();
        // The factory is of no further use; what it captured goes with it.
        m_make = nullptr;
    }
    return *m_real;
}

double DeferredSystemSignals::secondsSinceLastInput() {
    return real().secondsSinceLastInput();
}

std::optional<double> DeferredSystemSignals::secondsSinceLastKeyDown() {
    return real().secondsSinceLastKeyDown();
}

bool DeferredSystemSignals::displayIsAsleep() {
    return real().displayIsAsleep();
}

bool DeferredSystemSignals::everyDisplayIsAsleep() {
    return real().everyDisplayIsAsleep();
}

std::optional<std::string> DeferredSystemSignals::frontmostApplicationBundleIdentifier() {
    return real().frontmostApplicationBundleIdentifier();
}

bool DeferredSystemSignals::frontmostApplicationIsFullscreen() {
    return real().frontmostApplicationIsFullscreen();
}

bool DeferredSystemSignals::videoPlaying() {
    return real().videoPlaying();
}

bool DeferredSystemSignals::microphoneInUse() {
    return real().microphoneInUse();
}

bool DeferredSystemSignals::screenCaptured() {
    return real().screenCaptured();
}

bool DeferredSystemSignals::doNotDisturbActive() {
    return real().doNotDisturbActive();
}

bool DeferredSystemSignals::calendarAccessGranted(const std::vector<std::string>& sources) {
    return real().calendarAccessGranted(sources);
}

bool DeferredSystemSignals::calendarEventInProgress(const std::vector<std::string>& sources, Instant now) {
    return real().calendarEventInProgress(sources, now);
}

bool DeferredSystemSignals::screenRecordingGranted() {
    return real().screenRecordingGranted();
}

void DeferredSystemSignals::lockScreen() {
    real().lockScreen();
}

std::vector<SystemSignals::Backend> DeferredSystemSignals::backends() {
    return real().backends();
}

} // namespace sorvala
