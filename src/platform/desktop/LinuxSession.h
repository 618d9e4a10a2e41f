// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// The kind of desktop session we run in, read once at start-up; it decides which back end
/// answers each system signal.
struct LinuxSession {
    enum class Type { x11, wayland, unknown };

    Type type = Type::unknown;
    /// XDG_CURRENT_DESKTOP split on ':' ("ubuntu", "GNOME"), as written.
    std::vector<std::string> desktops;

    /// Whether one of the desktops is `name`, ignoring case ("gnome" matches "GNOME").
    bool isDesktop(std::string_view name) const;
    /// GNOME and the desktops built on its shell and session (Budgie, Pantheon, Unity, ubuntu).
    bool isGnomeFamily() const;
    /// "x11:ubuntu:GNOME", "wayland:KDE", "unknown:" for logs and `sorvalactl probe`.
    std::string describe() const;
};

/// Reads the session from the environment: XDG_SESSION_TYPE, else WAYLAND_DISPLAY or DISPLAY;
/// XDG_CURRENT_DESKTOP for the desktops. `environment` answers nullopt for an unset variable.
LinuxSession detectSession(const std::function<std::optional<std::string>(const char*)>& environment);

/// `detectSession` over this process's environment.
LinuxSession currentSession();

/// The word of a session type: "x11", "wayland", "unknown".
std::string_view text(LinuxSession::Type type);

} // namespace sorvala
