// SPDX-License-Identifier: MIT
#include "platform/wayland/WaylandReadings.h"

#include <algorithm>

namespace sorvala::WaylandReadings {

double IdleState::secondsSinceInput(double now) const {
    return idleSince ? std::max(0.0, now - *idleSince) : 0.0;
}

std::optional<std::string> applicationId(const std::optional<Toplevel>& focused,
                                         const FrontmostApplication::DesktopEntries& entries,
                                         const std::string& ownAppId) {
    if (!focused || focused->appId.empty() || focused->appId == ownAppId)
        return std::nullopt;
    // The app id plays the part of WM_CLASS; there is no process id to fall back on.
    FrontmostApplication::ActiveWindow window;
    window.wmClassClass = focused->appId;
    if (auto id = FrontmostApplication::applicationId(window, entries, {}, 0))
        return id;
    return focused->appId;
}

bool isFullscreen(const std::optional<Toplevel>& focused, const std::string& ownAppId) {
    return focused && focused->fullscreen && focused->appId != ownAppId;
}

} // namespace sorvala::WaylandReadings
