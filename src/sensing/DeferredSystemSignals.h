// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/SystemSignals.h"

#include <functional>
#include <memory>

namespace sorvala {

/// System signals that make the real ones at the first question and hand every question on to
/// them. Making them opens display and bus connections a program just started has no use for
/// before its tray item is up; the first question comes later, from the event loop.
class DeferredSystemSignals final : public SystemSignals {
public:
    /// Makes the real signals; called once, at the first question. It must return an object.
    using Factory = std::function<std::unique_ptr<SystemSignals>()>;

    explicit DeferredSystemSignals(Factory make);

    /// Whether the real signals have been made.
    bool isMade() const { return m_real != nullptr; }

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

private:
    SystemSignals& real();

    Factory m_make;
    std::unique_ptr<SystemSignals> m_real;
};

} // namespace sorvala
