// SPDX-License-Identifier: MIT
#include "menubar/MenuCommand.h"

#include <array>
#include <charconv>

namespace sorvala {

namespace {

constexpr std::array allKinds{
    MenuCommand::Kind::snooze,          MenuCommand::Kind::pause,
    MenuCommand::Kind::openSorvala,     MenuCommand::Kind::toggleLaunchAtLogin,
    MenuCommand::Kind::startBreak,      MenuCommand::Kind::pauseUntilTomorrow,
    MenuCommand::Kind::pauseUntilResumed, MenuCommand::Kind::resume,
    MenuCommand::Kind::openReports,     MenuCommand::Kind::openGallery,
    MenuCommand::Kind::useLatestSorvalaAsWallpaper, MenuCommand::Kind::openSettings,
    MenuCommand::Kind::installScreenSaver, MenuCommand::Kind::openAbout,
    MenuCommand::Kind::openWelcome,     MenuCommand::Kind::reportIssue,
    MenuCommand::Kind::revealLogInFinder,
};

bool takesMinutes(MenuCommand::Kind kind) {
    return kind == MenuCommand::Kind::snooze || kind == MenuCommand::Kind::pause;
}

} // namespace

std::string_view text(MenuCommand::Kind kind) {
    switch (kind) {
    case MenuCommand::Kind::snooze: return "snooze";
    case MenuCommand::Kind::pause: return "pause";
    case MenuCommand::Kind::openSorvala: return "openSorvala";
    case MenuCommand::Kind::toggleLaunchAtLogin: return "toggleLaunchAtLogin";
    case MenuCommand::Kind::startBreak: return "startBreak";
    case MenuCommand::Kind::pauseUntilTomorrow: return "pauseUntilTomorrow";
    case MenuCommand::Kind::pauseUntilResumed: return "pauseUntilResumed";
    case MenuCommand::Kind::resume: return "resume";
    case MenuCommand::Kind::openReports: return "openReports";
    case MenuCommand::Kind::openGallery: return "openGallery";
    case MenuCommand::Kind::useLatestSorvalaAsWallpaper: return "useLatestSorvalaAsWallpaper";
    case MenuCommand::Kind::openSettings: return "openSettings";
    case MenuCommand::Kind::installScreenSaver: return "installScreenSaver";
    case MenuCommand::Kind::openAbout: return "openAbout";
    case MenuCommand::Kind::openWelcome: return "openWelcome";
    case MenuCommand::Kind::reportIssue: return "reportIssue";
    case MenuCommand::Kind::revealLogInFinder: return "revealLogInFinder";
    }
    return "unknown";
}

std::string encoded(const MenuCommand& command) {
    std::string word(text(command.kind));
    if (takesMinutes(command.kind))
        word += ":" + std::to_string(command.minutes);
    return word;
}

std::optional<MenuCommand> menuCommandFromText(std::string_view word) {
    const auto colon = word.find(':');
    const auto name = word.substr(0, colon);
    for (const auto kind : allKinds) {
        if (text(kind) != name)
            continue;
        if (!takesMinutes(kind))
            return colon == std::string_view::npos ? std::optional(MenuCommand{kind, 0}) : std::nullopt;
        if (colon == std::string_view::npos)
            return std::nullopt;
        const auto digits = word.substr(colon + 1);
        int minutes = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), minutes);
        if (error != std::errc() || end != digits.data() + digits.size() || minutes <= 0)
            return std::nullopt;
        return MenuCommand{kind, minutes};
    }
    return std::nullopt;
}

} // namespace sorvala
