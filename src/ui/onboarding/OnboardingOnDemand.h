// SPDX-License-Identifier: MIT
#pragma once

#include "ui/onboarding/OnboardingWindow.h"

#include <memory>

namespace sorvala {

/// The welcome walkthrough as the program holds it: the window is made when it is first shown, so
/// a returning user's program, which never shows it, keeps no dialog and touches no widget code
/// for it.
class OnboardingOnDemand final : public Onboarding {
public:
    explicit OnboardingOnDemand(OnboardingWindow::Services services);
    ~OnboardingOnDemand() override;

    void showIfNeeded() override;
    bool isShowing() const override { return m_window && m_window->isShowing(); }
    /// Shows the walkthrough from its first page, or raises it when it is open ("Welcome…").
    void present();
    /// Sets what restarts the schedule, for a program that builds the application object later.
    void setScheduleReminder(std::function<void()> scheduleReminder);

private:
    OnboardingWindow& window();

    OnboardingWindow::Services m_services;
    std::unique_ptr<OnboardingWindow> m_window;
};

} // namespace sorvala
