// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/SystemSignals.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// System signals whose answers a test sets, counting every probe it is asked.
class FakeSystemSignals : public SystemSignals {
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
    /// What the last calendar probe was handed.
    std::vector<std::string> lastCalendarSources;
    std::optional<Instant> lastCalendarNow;

    int callCount(const std::string& probe) const {
        const auto found = calls.find(probe);
        return found == calls.end() ? 0 : found->second;
    }
    /// Every probe that ran at least once, in name order.
    std::vector<std::string> probed() const {
        std::vector<std::string> names;
        for (const auto& [name, count] : calls)
            if (count > 0)
                names.push_back(name);
        return names;
    }
    void resetCalls() { calls.clear(); }

    double secondsSinceLastInput() override { return answer("secondsSinceLastInput", idleSeconds); }
    std::optional<double> secondsSinceLastKeyDown() override { return answer("secondsSinceLastKeyDown", secondsSinceKeyDown); }
    bool displayIsAsleep() override { return answer("displayIsAsleep", displayAsleep); }
    bool everyDisplayIsAsleep() override { return answer("everyDisplayIsAsleep", everyDisplayAsleep); }
    std::optional<std::string> frontmostApplicationBundleIdentifier() override {
        return answer("frontmostApplicationBundleIdentifier", frontmostApp);
    }
    bool frontmostApplicationIsFullscreen() override { return answer("frontmostApplicationIsFullscreen", fullscreen); }
    bool videoPlaying() override { return answer("videoPlaying", video); }
    bool microphoneInUse() override { return answer("microphoneInUse", microphone); }
    bool screenCaptured() override { return answer("screenCaptured", screenCapture); }
    bool doNotDisturbActive() override { return answer("doNotDisturbActive", doNotDisturb); }
    bool calendarAccessGranted(const std::vector<std::string>& sources) override {
        lastCalendarSources = sources;
        return answer("calendarAccessGranted", calendarReadable && !sources.empty());
    }
    bool calendarEventInProgress(const std::vector<std::string>& sources, Instant now) override {
        lastCalendarSources = sources;
        lastCalendarNow = now;
        return answer("calendarEventInProgress", calendarEvent);
    }
    bool screenRecordingGranted() override { return answer("screenRecordingGranted", screenRecordingAllowed); }
    void lockScreen() override { ++calls["lockScreen"]; }
    std::vector<Backend> backends() override { return backendList; }

private:
    template <typename Value>
    Value answer(const char* probe, const Value& value) {
        ++calls[probe];
        return value;
    }
};

} // namespace sorvala
