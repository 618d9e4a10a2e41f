// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace sorvala {

/// The menu commands that open a window or run a command of another window family. Each is set
/// by the program as that family lands; an unset one logs one line and does nothing.
struct WindowCommands {
    /// The tray's left click; falls back to the drawing window while unset.
    std::function<void()> openStatistics;
    std::function<void()> openReports;
    std::function<void()> openGallery;
    std::function<void()> useLatestAsWallpaper;
    std::function<void()> openSettings;
    std::function<void()> installScreenSaver;
    std::function<void()> openAbout;
    std::function<void()> openWelcome;
    std::function<void()> reportIssue;
};

} // namespace sorvala
