// SPDX-License-Identifier: MIT
#include "FakeSystemSignals.h"

namespace sorvala {

int FakeSystemSignals::callCount(const std::string& probe) const {
    const auto found = calls.find(probe);
    return found == calls.end() ? 0 : found->second;
}

std::vector<std::string> FakeSystemSignals::probed() const {
    std::vector<std::string> names;
    for (const auto& [name, count] : calls)
        if (count > 0)
            names.push_back(name);
    return names;
}

double FakeSystemSignals::secondsSinceLastInput() {
    ++calls["secondsSinceLastInput"];
    return idleSeconds;
}

std::optional<double> FakeSystemSignals::secondsSinceLastKeyDown() {
    ++calls["secondsSinceLastKeyDown"];
    return secondsSinceKeyDown;
}

bool FakeSystemSignals::displayIsAsleep() {
    ++calls["displayIsAsleep"];
    return displayAsleep;
}

bool FakeSystemSignals::everyDisplayIsAsleep() {
    ++calls["everyDisplayIsAsleep"];
    return everyDisplayAsleep;
}

std::optional<std::string> FakeSystemSignals::frontmostApplicationBundleIdentifier() {
    ++calls["frontmostApplicationBundleIdentifier"];
    return frontmostApp;
}

bool FakeSystemSignals::frontmostApplicationIsFullscreen() {
    ++calls["frontmostApplicationIsFullscreen"];
    return fullscreen;
}

bool FakeSystemSignals::videoPlaying() {
    ++calls["videoPlaying"];
    return video;
}

bool FakeSystemSignals::microphoneInUse() {
    ++calls["microphoneInUse"];
    return microphone;
}

bool FakeSystemSignals::screenCaptured() {
    ++calls["screenCaptured"];
    return screenCapture;
}

bool FakeSystemSignals::doNotDisturbActive() {
    ++calls["doNotDisturbActive"];
    return doNotDisturb;
}

bool FakeSystemSignals::calendarAccessGranted(const std::vector<std::string>& sources) {
    ++calls["calendarAccessGranted"];
    lastCalendarSources = sources;
    return calendarReadable && !sources.empty();
}

bool FakeSystemSignals::calendarEventInProgress(const std::vector<std::string>& sources, Instant now) {
    ++calls["calendarEventInProgress"];
    lastCalendarSources = sources;
    lastCalendarNow = now;
    return calendarEvent;
}

bool FakeSystemSignals::screenRecordingGranted() {
    ++calls["screenRecordingGranted"];
    return screenRecordingAllowed;
}

void FakeSystemSignals::lockScreen() {
    ++calls["lockScreen"];
    ++locks;
}

std::vector<SystemSignals::Backend> FakeSystemSignals::backends() {
    return backendList;
}

} // namespace sorvala
