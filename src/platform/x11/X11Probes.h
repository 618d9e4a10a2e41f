// SPDX-License-Identifier: MIT
#pragma once

#include "platform/x11/X11Connection.h"
#include "sensing/DisplaySleep.h"
#include "sensing/FrontmostApplication.h"

#include <memory>
#include <optional>

namespace sorvala {

/// Questions answered by the X server over one private connection: idle time (screen-saver
/// extension), display power (DPMS) and the active window (EWMH). Each is one short round trip.
class X11Probes {
public:
    /// Opens its own connection to $DISPLAY (or `displayName`).
    explicit X11Probes(const std::string& displayName = {});

    /// Whether the X server was reached.
    bool isOpen() const { return m_x.isOpen(); }
    /// Whether the server has the screen-saver extension that reports idle time.
    bool hasIdleTime() const { return m_hasScreenSaver; }
    /// Whether the server has the DPMS extension.
    bool hasDpms() const { return m_hasDpms; }

    /// Milliseconds since the last input of any device, as seconds; nullopt on failure.
    std::optional<double> idleSeconds() const;
    /// The DPMS state; nullopt without the extension.
    std::optional<DisplaySleep::DpmsState> dpms() const;
    /// The window named by the root's _NET_ACTIVE_WINDOW with its application and state
    /// properties; nullopt without a window manager that says, or no active window.
    std::optional<FrontmostApplication::ActiveWindow> activeWindow() const;
    /// The root window's rectangle, the one display an X server knows for sure.
    FrontmostApplication::Rect rootGeometry() const;

private:
    X11Connection m_x;
    bool m_hasScreenSaver = false;
    bool m_hasDpms = false;
};

} // namespace sorvala
