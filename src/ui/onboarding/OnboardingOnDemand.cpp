// SPDX-License-Identifier: MIT
#include "ui/onboarding/OnboardingOnDemand.h"

#include "core/PreferencesStore.h"

namespace sorvala {

OnboardingOnDemand::OnboardingOnDemand(OnboardingWindow::Services services) : m_services(std::move(services)) {}

OnboardingOnDemand::~OnboardingOnDemand() = default;

void OnboardingOnDemand::showIfNeeded() {
    // Asked before the window exists: a returning user's program never makes it.
    if (m_services.store.boolean(OnboardingFlow::onboardingShownKey))
        return;
    window().showIfNeeded();
}

void OnboardingOnDemand::present() {
    window().present();
}

void OnboardingOnDemand::setScheduleReminder(std::function<void()> scheduleReminder) {
    if (m_window)
        m_window->setScheduleReminder(scheduleReminder);
    m_services.scheduleReminder = std::move(scheduleReminder);
}

OnboardingWindow& OnboardingOnDemand::window() {
    if (!m_window)
        m_window = std::make_unique<OnboardingWindow>(m_services);
    return *m_window;
}

} // namespace sorvala
