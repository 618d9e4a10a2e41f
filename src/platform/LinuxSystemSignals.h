// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"
#include "platform/desktop/LinuxSession.h"
#include "sensing/FrontmostApplication.h"
#include "sensing/SystemSignals.h"

#include <QDBusConnection>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace sorvala {

/// Where the Linux system signals look; the defaults are the real session's. Tests point
/// them at private buses and fixture trees.
struct LinuxSignalsOptions {
    /// The session; nullopt: read from the environment.
    std::optional<LinuxSession> session;
    /// The buses; nullopt: the session's and the system's.
    std::optional<QDBusConnection> sessionBus;
    std::optional<QDBusConnection> systemBus;
    /// The longest any one D-Bus question may hold the caller.
    int dbusTimeoutMs = 25;
    std::filesystem::path drmRoot = "/sys/class/drm";
    std::filesystem::path procAsound = "/proc/asound";
    /// The applications folders for desktop-file ids; empty: the XDG ones.
    QStringList applicationFolders;
    /// The displays' rectangles in X11 device pixels; empty: Qt's screens, else the root window.
    std::function<std::vector<FrontmostApplication::Rect>()> displays;
    /// The pw-dump program; nullopt: the one on PATH (only asked on Wayland).
    std::optional<QString> pwDump;
    /// Whether asking about the calendar waits for the files to be read: for a one-shot answer
    /// (the command line), never on the application's main thread.
    bool calendarWaitsForReading = false;
    /// Whether the first microphone question waits (half a second at most) for the sound server's
    /// lists, likewise for a one-shot answer.
    bool microphoneWaitsForLists = false;
    /// The app id our own Wayland windows carry, left out of the frontmost application;
    /// nullopt: the one Qt gives them.
    std::optional<std::string> ownAppId;
};

/// The system signals of this Linux session, each served by the back end the session type and
/// the desktop call for, chosen once here; logs the choice in one line.
std::unique_ptr<SystemSignals> makeLinuxSystemSignals(Logger& log, LinuxSignalsOptions options = {});

} // namespace sorvala
