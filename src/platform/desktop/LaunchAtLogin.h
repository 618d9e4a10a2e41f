// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace sorvala {

class Logger;

/// Starting the program when the user logs in, through the desktop's autostart folder: the
/// program is registered while its entry there exists and is not switched off.
class LaunchAtLogin {
public:
    /// `entry`: the autostart file; `executable`: the program it starts.
    LaunchAtLogin(Logger& log, std::filesystem::path entry, std::string executable);

    /// `$XDG_CONFIG_HOME/autostart/org.sorvala.Sorvala.desktop`, with `~/.config` when unset or
    /// relative; an entry under the earlier name `sorvala.desktop` is moved there first.
    static std::filesystem::path standardEntryPath();
    /// The program to start: an AppImage's own path when run from one, else `applicationFilePath`.
    static std::string executableToStart(const std::string& applicationFilePath);

    /// Whether the entry exists and says to start the program; false when unreadable.
    bool isEnabled() const;
    /// Writes or removes the entry; false (logged) when that failed.
    bool setEnabled(bool enabled);
    /// Registers when not registered, else unregisters.
    bool toggle() { return setEnabled(!isEnabled()); }

private:
    Logger& m_log;
    std::filesystem::path m_entry;
    std::string m_executable;
};

} // namespace sorvala
