// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/FrontmostApplication.h"

#include <optional>
#include <string>

/// What the compositor's event-only protocols amount to as readings: idle protocols say when the
/// user went idle and came back, the toplevel protocol lists windows with their states.
namespace sorvala::WaylandReadings {

/// The idle protocols' notifications, on a monotonic clock in seconds.
struct IdleState {
    /// When the last input happened, while the user is idle; nullopt while input goes on.
    std::optional<double> idleSince;

    /// The compositor said no input came for `timeout` seconds; it says so `timeout` after the
    /// last input.
    void idled(double now, double timeout) { idleSince = now - timeout; }
    /// Input came again.
    void resumed() { idleSince.reset(); }
    /// The reading: seconds since the last input, 0 while the user is active.
    double secondsSinceInput(double now) const;
};

/// One window of the compositor's toplevel list, as of its last completed update.
struct Toplevel {
    std::string appId;
    bool activated = false;
    bool fullscreen = false;
    bool operator==(const Toplevel&) const = default;
};

/// The desktop-file id of the focused window's application: its app id matched against the
/// installed applications (StartupWMClass, then the id, exactly and then ignoring case), else the
/// app id itself, which Wayland clients set to their desktop-file id by convention. Our own
/// window (`ownAppId`) and a window without an app id: nullopt.
std::optional<std::string> applicationId(const std::optional<Toplevel>& focused,
                                         const FrontmostApplication::DesktopEntries& entries,
                                         const std::string& ownAppId);

/// Whether the focused window is another application's and full screen.
bool isFullscreen(const std::optional<Toplevel>& focused, const std::string& ownAppId);

} // namespace sorvala::WaylandReadings
