// SPDX-License-Identifier: MIT
#include "ui/menubar/ProgramCommands.h"

#include "app/ApplicationDelegate.h"
#include "core/Clock.h"
#include "core/Logger.h"
#include "i18n/QtI18n.h"

#include <string>

namespace sorvala {

ProgramCommands::ProgramCommands(ApplicationDelegate& app, const Clock& clock, Logger& log, Handlers handlers)
    : m_app(app), m_clock(clock), m_log(log), m_handlers(std::move(handlers)) {}

void ProgramCommands::run(const std::function<void()>& handler, MenuCommand::Kind kind) {
    if (handler) {
        handler();
        return;
    }
    m_log.log("menu command not available yet command=" + std::string(text(kind)));
}

void ProgramCommands::perform(const MenuCommand& command) {
    using Kind = MenuCommand::Kind;
    switch (command.kind) {
    case Kind::snooze:
        m_app.snooze(command.minutes, SnoozeRequest::Source::menu);
        return;
    case Kind::pause:
        m_app.pause(m_clock.now() + command.minutes * 60.0);
        return;
    case Kind::openSorvala: return run(m_handlers.openDrawingWindow, command.kind);
    case Kind::toggleLaunchAtLogin:
        m_log.log("launch-at-login toggled");
        return run(m_handlers.toggleLaunchAtLogin, command.kind);
    case Kind::startBreak:
        m_app.startBreakNow();
        return;
    case Kind::pauseUntilTomorrow:
        m_app.pauseUntilTomorrow();
        return;
    case Kind::pauseUntilResumed:
        m_app.pauseUntilResumed();
        return;
    case Kind::resume:
        m_app.resumeReminders();
        return;
    case Kind::openReports: return run(m_windows.openReports, command.kind);
    case Kind::openGallery: return run(m_windows.openGallery, command.kind);
    case Kind::useLatestSorvalaAsWallpaper: return run(m_windows.useLatestAsWallpaper, command.kind);
    case Kind::openSettings: return run(m_windows.openSettings, command.kind);
    case Kind::installScreenSaver: return run(m_windows.installScreenSaver, command.kind);
    case Kind::openAbout: return run(m_windows.openAbout, command.kind);
    case Kind::openWelcome: return run(m_windows.openWelcome, command.kind);
    case Kind::reportIssue: return run(m_windows.reportIssue, command.kind);
    case Kind::revealLogInFinder: return run(m_handlers.revealLog, command.kind);
    }
}

std::optional<std::string> ProgramCommands::perform(ControlAction action) {
    m_log.log("control action action=" + std::string(text(action)));
    const bool onBreak = m_app.statusLineFacts().onBreak;
    switch (action) {
    case ControlAction::startBreak:
    case ControlAction::startMicroBreak:
        if (onBreak)
            return refused(action, "A break is already on screen.");
        if (action == ControlAction::startBreak)
            m_app.startBreakNow();
        else
            m_app.startMicroBreakNow();
        return std::nullopt;
    case ControlAction::togglePause:
        if (m_app.isPaused())
            m_app.resumeReminders();
        else
            m_app.pauseUntilResumed();
        return std::nullopt;
    case ControlAction::snooze1:
    case ControlAction::snooze5:
    case ControlAction::snooze15:
        if (!m_app.snooze(snoozeMinutes(action), SnoozeRequest::Source::hotKey))
            return refused(action, i18n("No snoozes left: the snooze budget is spent."));
        return std::nullopt;
    case ControlAction::skipBreak:
        if (!onBreak)
            return refused(action, i18n("No break is on screen."));
        if (!m_handlers.skipBreak || !m_handlers.skipBreak())
            return refused(action, i18n("This break cannot be skipped now (enforcement level)."));
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> ProgramCommands::resume() {
    if (!m_app.isPaused())
        return i18n("Reminders are not paused.");
    m_app.resumeReminders();
    return std::nullopt;
}

std::string ProgramCommands::refused(ControlAction action, std::string reason) {
    m_log.log("control action refused action=" + std::string(text(action)));
    return reason;
}

void ProgramCommands::leftClick() {
    if (m_windows.openStatistics)
        m_windows.openStatistics();
    else if (m_handlers.openDrawingWindow)
        m_handlers.openDrawingWindow();
}

} // namespace sorvala
