// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dbus/BoundedDBus.h"
#include "platform/desktop/LinuxSession.h"
#include "sensing/DoNotDisturb.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// The session's D-Bus services behind the idle, display, video, Do Not Disturb and lock
/// signals. Which services are asked follows the desktop; each question is bounded.
class DesktopServices {
public:
    /// `session` and `system` are the two buses (a test may pass one private bus for both);
    /// `timeoutMs` bounds every call.
    DesktopServices(LinuxSession session, QDBusConnection sessionBus, QDBusConnection systemBus,
                    int timeoutMs);

    /// GNOME's idle monitor (Mutter), in seconds; nullopt when it does not answer.
    std::optional<double> mutterIdleSeconds();
    /// GNOME's display power-save mode (0 on, 1 standby, 2 suspend, 3 off, -1 unknown);
    /// nullopt when Mutter does not answer.
    std::optional<int> mutterPowerSaveMode();

    /// The inhibitor services this desktop has, in the order they are asked:
    /// "gnome-session", "plasma", "xfce-power-manager", then always "logind".
    std::vector<std::string> inhibitorSources() const;
    /// Idle inhibitors per source that answered (a source that failed is left out).
    std::map<std::string, int> idleInhibitorCounts();

    /// The notification server's name (GetServerInformation), nullopt when none answers.
    std::optional<std::string> notificationServerName();
    /// What the notification server in use says about Do Not Disturb (no reading without one).
    std::vector<DoNotDisturb::Reading> doNotDisturbReadings();

    /// Which locker `lockScreen` would use now: "gnome-screensaver", "freedesktop-screensaver",
    /// "logind" (the session's own lock, heard by the locker that follows it).
    std::string lockerChoice();
    /// Asks the screen locker to lock now, without waiting for it.
    void lockScreen();

private:
    std::optional<bool> readFlag(DoNotDisturb::Source source);

    LinuxSession m_session;
    BoundedDBus m_sessionBus;
    BoundedDBus m_systemBus;
};

} // namespace sorvala
