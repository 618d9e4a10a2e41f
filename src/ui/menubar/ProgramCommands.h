// SPDX-License-Identifier: MIT
#pragma once

#include "menubar/ControlAction.h"
#include "menubar/MenuCommand.h"
#include "ui/menubar/WindowCommands.h"

#include <functional>

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
    };

    ProgramCommands(ApplicationDelegate& app, const Clock& clock, Logger& log, Handlers handlers);

    /// The window commands; the program fills them in as the windows exist.
    WindowCommands& windows() { return m_windows; }

    void perform(const MenuCommand& command);
    void perform(ControlAction action);
    /// The tray's left click: the statistics, or the drawing window while they are not there.
    void leftClick();

private:
    void run(const std::function<void()>& handler, MenuCommand::Kind kind);

    ApplicationDelegate& m_app;
    const Clock& m_clock;
    Logger& m_log;
    Handlers m_handlers;
    WindowCommands m_windows;
};

} // namespace sorvala
