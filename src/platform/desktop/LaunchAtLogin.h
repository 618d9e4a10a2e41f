// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
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
    /// The program to start: an AppImage's own path when run from one; for a program inside a
    /// version folder beside a `current` link to it (`.../sorvala/1.4.0/bin/sorvala` beside
    /// `.../sorvala/current`), its path through that link, which an upgrade keeps valid; else
    /// `applicationFilePath`.
    static std::string executableToStart(const std::string& applicationFilePath);

    /// Whether the entry exists, says to start a program and starts this one; false when unreadable.
    bool isEnabled() const;
    /// An enabled entry that starts a program no longer there (this one, moved) is pointed at this
    /// one; an entry for another program that exists is left alone. True when it was rewritten.
    bool followMovedProgram();
    /// Writes or removes the entry; false (logged) when that failed.
    bool setEnabled(bool enabled);
    /// Registers when not registered, else unregisters.
    bool toggle() { return setEnabled(!isEnabled()); }

private:
    /// The entry's text; nullopt when it cannot be read.
    std::optional<std::string> contents() const;
    bool startsThisProgram(const std::string& program) const;

    Logger& m_log;
    std::filesystem::path m_entry;
    std::string m_executable;
};

} // namespace sorvala
