// SPDX-License-Identifier: MIT
#pragma once

#include "core/Logger.h"
#include "platform/desktop/LinuxSession.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// Registers sorvala-saver with the screen saver the desktop runs, and keeps the registration
/// pointing at the program of this build: xscreensaver through the program list in
/// ~/.xscreensaver, mate-screensaver through a desktop entry among its screen savers.
class SaverInstallation {
public:
    /// Where things are; `program` is the sorvala-saver this build carries.
    struct Places {
        std::filesystem::path home;
        std::filesystem::path dataHome;
        std::filesystem::path program;
        std::string version;
        std::filesystem::path xscreensaverDefaults = "/etc/X11/app-defaults/XScreenSaver";
        /// Whether a program of this name is installed (on PATH).
        std::function<bool(const char* name)> hasProgram = programOnPath;
    };

    /// How an installation went: the files written, or why it could not be done.
    struct Outcome {
        std::vector<std::filesystem::path> written;
        std::optional<std::string> failure;
    };

    SaverInstallation(Logger& log, LinuxSession session, Places places);

    /// The places of this user, for the sorvala-saver beside the running program.
    static Places standardPlaces(const std::filesystem::path& program, std::string version);
    /// Whether `name` is an executable file in a folder of $PATH.
    static bool programOnPath(const char* name);

    /// ~/.xscreensaver.
    std::filesystem::path xscreensaverFile() const { return m_places.home / ".xscreensaver"; }
    /// The desktop entry mate-screensaver lists.
    std::filesystem::path mateEntryFile() const;
    /// The version of the build that last wrote the registrations.
    std::filesystem::path versionFile() const;

    /// "Install Screen Saver": registers with every saver found; logs the result.
    Outcome install();
    /// At launch: rewrites the registrations that exist when their program or version is not
    /// this build's. Registers nothing the user never installed.
    void refreshAtLaunch();

    /// The desktop entry for mate-screensaver.
    static std::string mateEntry(const std::filesystem::path& program, const std::string& version);
    /// The program an entry's Exec line runs; nullopt when it has none.
    static std::optional<std::string> execProgram(const std::string& entry);

private:
    bool xscreensaverPresent() const;
    bool matePresent() const;
    std::optional<std::string> registerWithXScreenSaver(bool refreshing);
    std::optional<std::string> registerWithMate();
    std::optional<std::string> installedVersion() const;

    Logger& m_log;
    LinuxSession m_session;
    Places m_places;
};

} // namespace sorvala
