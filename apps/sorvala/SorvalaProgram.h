// SPDX-License-Identifier: MIT
#pragma once

#include "app/AppLogger.h"
#include "app/ApplicationDelegate.h"
#include "app/FileBreakHistory.h"
#include "app/ports/HotKeyRegistrar.h"
#include "core/Clock.h"
#include "menubar/ControlAction.h"
#include "platform/audio/AppSound.h"
#include "platform/dbus/ControlService.h"
#include "platform/desktop/LaunchAtLogin.h"
#include "platform/dbus/LogindSleepWatcher.h"
#include "platform/QSettingsPreferencesStore.h"
#include "platform/QTimerMainLoopTimer.h"
#include "platform/calendar/SystemCalendar.h"
#include "platform/TimerFdWallClockChanges.h"
#include "ui/gallery/GalleryCommands.h"
#include "sensing/SystemSignals.h"
#include "platform/DetachedProcessLauncher.h"
#include "platform/MadvisePageRelease.h"
#include "platform/dbus/FreedesktopBannerCenter.h"
#include "ui/breakscreen/QtBreakScreen.h"
#include "ui/notices/QtNotices.h"
#include "ui/menubar/DrawingWindow.h"
#include "ui/menubar/ProgramCommands.h"
#include "ui/menubar/StatusSource.h"
#include "ui/menubar/TrayMenuBar.h"
#include "ui/onboarding/OnboardingOnDemand.h"
#include "updater/qt/SelfUpdater.h"

#include <memory>
#include <optional>

namespace sorvala {

class AboutWindow;
class IssueReportSender;
class ReportIssueWindow;
class ReportsWindow;
class SettingsWindow;
class StatsWindow;

/// Everything the running program is made of, built in dependency order and wired together.
/// Other window families plug in here: replace a placeholder port with the real adapter and set
/// its entry of `commands().windows()`.
class SorvalaProgram {
public:
    /// Builds the adapters; nothing runs yet.
    SorvalaProgram();
    ~SorvalaProgram();

    /// Claims the control interface; false when another instance already runs.
    bool claimSingleInstance();
    /// Launches the application object, the tray, the sleep watch and the signal routing.
    void launch();
    /// Carries out an action handed over at start or from the control interface; why it was
    /// refused, if it was.
    std::optional<std::string> perform(ControlAction action);
    /// The reopen of a running program: the drawing window, unless the walkthrough is showing.
    void reopen();

    ProgramCommands& commands() { return *m_commands; }

private:
    /// Migrates retired settings and registers every factory default, before anything reads.
    void prepareStore();
    std::string shortTime(Instant instant) const;
    ControlService::Status controlStatus();
    static ControlService::Status controlStatus(const StatusSource::Shown& shown);
    DrawingWindow& drawingWindow();
    void openDrawingWindow();
    void noTray();
    void trayFound();
    void shortcutKeyDuringBreak(const QKeyEvent& event);
    void wireWindows();
    void toggleStatistics();
    ReportsWindow& reportsWindow();
    SettingsWindow& settingsWindow();
    ReportIssueWindow& reportIssueWindow();
    AboutWindow& aboutWindow();

    SystemClock m_clock;
    AppLogger m_log;
    QSettingsPreferencesStore m_store;
    SystemCalendar m_calendar;
    QTimerMainLoopTimer m_timers;
    std::unique_ptr<SystemSignals> m_signals;
    FileBreakHistory m_history;
    AppSound m_sound;
    std::unique_ptr<HotKeyRegistrar> m_hotKeys;
    DetachedProcessLauncher m_launcher;
    MadvisePageRelease m_pageRelease;
    QtBreakScreen m_breakScreen;
    FreedesktopBannerCenter m_banners;
    QtNotices m_notices;
    OnboardingOnDemand m_onboarding;
    SelfUpdater m_updater;
    LaunchAtLogin m_launchAtLogin;

    std::unique_ptr<StatusSource> m_status;
    std::unique_ptr<TrayMenuBar> m_menuBar;
    std::unique_ptr<ApplicationDelegate> m_app;
    std::unique_ptr<ProgramCommands> m_commands;
    std::unique_ptr<GalleryCommands> m_gallery;
    std::unique_ptr<ControlService> m_control;
    std::unique_ptr<LogindSleepWatcher> m_sleep;
    std::unique_ptr<TimerFdWallClockChanges> m_clockChanges;
    Subscription m_clockWatch;
    std::unique_ptr<DrawingWindow> m_window;
    // The ordinary windows: made on first use and kept.
    std::unique_ptr<StatsWindow> m_stats;
    std::unique_ptr<ReportsWindow> m_reports;
    std::unique_ptr<SettingsWindow> m_settings;
    std::unique_ptr<IssueReportSender> m_reportSender;
    std::unique_ptr<ReportIssueWindow> m_reportIssue;
    std::unique_ptr<AboutWindow> m_about;
    bool m_menuInWindow = false;
    bool m_windowMenuAttached = false;
    /// Whether the smart-pause probes may run: not before the event loop does.
    bool m_probing = false;
};

} // namespace sorvala
