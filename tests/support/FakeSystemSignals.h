// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/SystemSignals.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// System signals whose answers a test sets, counting every probe it is asked.
class FakeSystemSignals final : public SystemSignals {
public:
    double idleSeconds = 0;
    std::optional<double> secondsSinceKeyDown;
    bool displayAsleep = false;
    bool everyDisplayAsleep = false;
    std::optional<std::string> frontmostApp;
    bool fullscreen = false;
    bool video = false;
    bool microphone = false;
    bool screenCapture = false;
    bool doNotDisturb = false;
    bool calendarEvent = false;
    bool calendarReadable = true;
    bool screenRecordingAllowed = true;
    std::vector<Backend> backendList{{"session", "fake"}};

    /// How often each probe ran, by method name ("microphoneInUse", ...).
    std::map<std::string, int> calls;
    /// The sources the last calendar probe was handed.
    std::vector<std::string> lastCalendarSources;
    /// Instant the last calendar probe asked about.
    std::optional<Instant> lastCalendarNow;
    int locks = 0;

    /// How often `probe` ran.
    int callCount(const std::string& probe) const;
    /// Every probe that ran at least once, in name order.
    std::vector<std::string> probed() const;
    /// Forgets the counts.
    void resetCalls() { calls.clear(); }

    double secondsSinceLastInput() override;
    std::optional<double> secondsSinceLastKeyDown() override;
    bool displayIsAsleep() override;
    bool everyDisplayIsAsleep() override;
    std::optional<std::string> frontmostApplicationBundleIdentifier() override;
    bool frontmostApplicationIsFullscreen() override;
    bool videoPlaying() override;
    bool microphoneInUse() override;
    bool screenCaptured() override;
    bool doNotDisturbActive() override;
    bool calendarAccessGranted(const std::vector<std::string>& sources) override;
    bool calendarEventInProgress(const std::vector<std::string>& sources, Instant now) override;
    bool screenRecordingGranted() override;
    void lockScreen() override;
    std::vector<Backend> backends() override;
};

} // namespace sorvala
