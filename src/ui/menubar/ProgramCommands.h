// SPDX-License-Identifier: MIT
#pragma once

#include "menubar/ControlAction.h"
#include "menubar/MenuCommand.h"
#include "ui/menubar/WindowCommands.h"

#include <functional>
#include <optional>
#include <string>

namespace sorvala {

class ApplicationDelegate;
class Clock;
class Logger;

/// Carries out what the menu, the tray's left click and the control interface ask for: the
/// scheduling commands on the application object, the rest through the program's handlers.
class ProgramCommands {
public:
    /// The program's own handlers beside the window commands of other window families.
    struct Handlers {
        std::function<void()> openDrawingWindow;
        std::function<void()> toggleLaunchAtLogin;
        std::function<void()> revealLog;
        /// Ends the break on screen as Escape would; false when the enforcement tier keeps it.
        std::function<bool()> skipBreak;
    };

    ProgramCommands(ApplicationDelegate& app, const Clock& clock, Logger& log, Handlers handlers);

    /// The window commands; the program fills them in as the windows exist.
    WindowCommands& windows() { return m_windows; }

    void perform(const MenuCommand& command);
    /// Carries out an action of a script or a shortcut; the sentence saying why it was refused,
    /// or nullopt when it was done.
    std::optional<std::string> perform(ControlAction action);
    /// Resumes paused reminders; the sentence saying why not when they are not paused.
    std::optional<std::string> resume();
    /// The tray's left click: the statistics, or the drawing window while they are not there.
    void leftClick();

private:
    void run(const std::function<void()>& handler, MenuCommand::Kind kind);
    std::string refused(ControlAction action, std::string reason);

    ApplicationDelegate& m_app;
    const Clock& m_clock;
    Logger& m_log;
    Handlers m_handlers;
    WindowCommands m_windows;
};

} // namespace sorvala
