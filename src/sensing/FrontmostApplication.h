// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

/// Which application is frontmost and whether it fills a display, over the active window's
/// EWMH and ICCCM properties as the X server reports them.
namespace sorvala::FrontmostApplication {

/// The state flag a window manager sets on a fullscreen window.
inline constexpr std::string_view fullscreenStateName = "_NET_WM_STATE_FULLSCREEN";

/// A rectangle in root-window coordinates (a window's frame or a display's geometry).
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

/// What the X server says about the window in _NET_ACTIVE_WINDOW.
struct ActiveWindow {
    std::optional<std::string> gtkApplicationId; ///< _GTK_APPLICATION_ID
    std::optional<std::string> kdeDesktopFile;   ///< _KDE_NET_WM_DESKTOP_FILE
    std::optional<std::string> wmClassClass;     ///< WM_CLASS res_class ("Firefox")
    std::optional<std::string> wmClassName;      ///< WM_CLASS res_name ("Navigator")
    std::optional<std::uint32_t> processId;      ///< _NET_WM_PID
    std::vector<std::string> states;             ///< _NET_WM_STATE atom names
    Rect frame;                                  ///< outer frame, translated to the root
    std::vector<std::string> types = {};         ///< _NET_WM_WINDOW_TYPE atom names
    bool operator==(const ActiveWindow&) const = default;
};

/// What is known of the installed applications: their desktop-file ids and the
/// StartupWMClass each declares.
struct DesktopEntries {
    std::set<std::string, std::less<>> ids;
    std::map<std::string, std::string, std::less<>> idByStartupWmClass;
};

/// Whether the window is part of the desktop itself (its background or a panel): such a window
/// covers a whole display and becomes active when clicked, yet is no application.
bool isDesktopElement(const ActiveWindow& window);

/// True when the window belongs to another process than `ownProcessId`, is no desktop element, and either carries the
/// fullscreen state or has a frame exactly equal to some display (games that skip the state).
bool isFullscreen(const std::optional<ActiveWindow>& window, const std::vector<Rect>& displays,
                  std::uint32_t ownProcessId);

/// The desktop-file id of the window's application, from the first that names one:
/// _GTK_APPLICATION_ID, _KDE_NET_WM_DESKTOP_FILE, WM_CLASS matched against StartupWMClass or
/// against an installed id (exactly, then ignoring case), then the process's cgroup
/// (`cgroupText`, the content of /proc/<pid>/cgroup). Our own windows and no window: nullopt.
std::optional<std::string> applicationId(const std::optional<ActiveWindow>& window, const DesktopEntries& entries,
                                         std::string_view cgroupText, std::uint32_t ownProcessId);

/// The desktop-file id in a systemd unit name of the XDG launch convention:
/// app[-<launcher>]-<id>[-<random>].scope or app[-<launcher>]-<id>[@<random>].service, with
/// "\x2d" unescaped; also snap.<name>.<app> units (id "<name>_<app>"). Nullopt for other units.
std::optional<std::string> desktopIdFromUnit(std::string_view unit);

/// The desktop-file id of the innermost launch unit in /proc/<pid>/cgroup text.
std::optional<std::string> desktopIdFromCgroup(std::string_view cgroupText);

} // namespace sorvala::FrontmostApplication
