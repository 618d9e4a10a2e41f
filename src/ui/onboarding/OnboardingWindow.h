// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/Onboarding.h"
#include "onboarding/OnboardingFlow.h"

#include <QDialog>

#include <functional>

class QVBoxLayout;

namespace sorvala {

class Logger;
class PreferencesStore;

/// The five-page welcome window. One per application, created once and shown again; it renders
/// each page from fresh facts and writes the user's choices to the store.
class OnboardingWindow final : public QDialog, public Onboarding {
public:
    /// Everything the walkthrough reads and calls; each must outlive the window.
    struct Services {
        PreferencesStore& store;
        Logger& log;
        /// Whether our banners can be shown now; asked at every render.
        std::function<OnboardingFlow::NotificationState()> notifications;
        /// Lets the new rhythm take effect at once after the micro-break switch.
        std::function<void()> scheduleReminder;
    };

    explicit OnboardingWindow(Services services, QWidget* parent = nullptr);

    /// Banners while a notification service owns its bus name, else denied: there is no asking.
    static OnboardingFlow::NotificationState notificationServiceState();

    /// Shows the walkthrough unless it was finished before (the first launch).
    void showIfNeeded() override;
    bool isShowing() const override { return isVisible(); }
    /// Shows the walkthrough from its first page, or raises it when it is open ("Welcome…").
    void present();
    /// Renders again when the window is visible on one of `steps`.
    void refresh(std::initializer_list<OnboardingFlow::Step> steps);
    /// Sets what restarts the schedule, for a program that builds the application object later.
    void setScheduleReminder(std::function<void()> scheduleReminder);

    OnboardingFlow::Step step() const { return m_step; }
    /// Next page, or close on the last.
    void advance();
    /// Previous page, when there is one.
    void back();

protected:
    void reject() override;

private:
    void render();
    QWidget* controlView(const OnboardingFlow::Control& control);
    void setMicroBreaks(bool on);
    void notificationButtonPressed();
    void clearContent();

    Services m_services;
    QVBoxLayout* m_layout = nullptr;
    QWidget* m_content = nullptr;
    OnboardingFlow::Step m_step = OnboardingFlow::Step::theBreak;
    bool m_seenLastStep = false;
    bool m_hasRendered = false;
};

} // namespace sorvala
