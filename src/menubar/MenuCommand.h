// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

/// A choice from the status menu, handed to the application to carry out.
struct MenuCommand {
    enum class Kind {
        snooze,
        pause,
        openSorvala,
        toggleLaunchAtLogin,
        startBreak,
        pauseUntilTomorrow,
        pauseUntilResumed,
        resume,
        openReports,
        openGallery,
        useLatestSorvalaAsWallpaper,
        openSettings,
        installScreenSaver,
        openAbout,
        openWelcome,
        reportIssue,
        revealLogInFinder,
    };
    Kind kind = Kind::openSorvala;
    /// The minutes of a snooze or a timed pause; 0 for every other kind.
    int minutes = 0;

    static MenuCommand snooze(int minutes) { return {Kind::snooze, minutes}; }
    static MenuCommand pause(int minutes) { return {Kind::pause, minutes}; }
    bool operator==(const MenuCommand&) const = default;
};

/// The case name, for log lines: "snooze", "openSorvala", ...
std::string_view text(MenuCommand::Kind kind);
/// The command named by its case name with its minutes ("pause:10", "openGallery"); nullopt for
/// anything else. Used where a command travels as text (the exported menu's item ids).
std::optional<MenuCommand> menuCommandFromText(std::string_view word);
/// The reverse of `menuCommandFromText`.
std::string encoded(const MenuCommand& command);

} // namespace sorvala
