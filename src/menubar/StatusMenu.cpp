// SPDX-License-Identifier: MIT
#include "menubar/StatusMenu.h"

#include "core/BreakTiming.h"

namespace sorvala {

namespace {

using Item = StatusMenu::Item;
using Kind = MenuCommand::Kind;

Item item(Item::Role role, std::string title) {
    Item made;
    made.role = role;
    made.title = std::move(title);
    return made;
}

Item separator() {
    return item(Item::Role::separator, "");
}

Item informational(Item::Role role, std::string title) {
    auto made = item(role, std::move(title));
    made.enabled = false;
    return made;
}

Item command(std::string title, MenuCommand what) {
    auto made = item(Item::Role::command, std::move(title));
    made.command = what;
    return made;
}

Item command(std::string title, Kind kind) {
    return command(std::move(title), MenuCommand{kind, 0});
}

} // namespace

std::string StatusMenu::snoozeTitle(int minutes) {
    return "By " + std::to_string(minutes) + " Minute" + (minutes == 1 ? "" : "s");
}

std::string StatusMenu::streakTitle(int days) {
    return "Streak: " + std::to_string(days) + (days == 1 ? " day" : " days");
}

std::string StatusMenu::resumeTitle(const std::optional<std::string>& pausedUntilTime) {
    if (!pausedUntilTime)
        return "Resume Reminders";
    return "Resume Reminders (paused until " + *pausedUntilTime + ")";
}

std::string StatusMenu::pauseTitle(int minutes) {
    if (minutes % 60 != 0)
        return "For " + std::to_string(minutes) + " Minutes";
    const int hours = minutes / 60;
    return "For " + std::to_string(hours) + (hours == 1 ? " Hour" : " Hours");
}

std::vector<Item> StatusMenu::items(const State& state) {
    std::vector<Item> menu;
    menu.push_back(informational(Item::Role::statusLine, state.statusText));
    menu.push_back(separator());
    menu.push_back(command("Open Sorvala", Kind::openSorvala));
    auto login = command("Launch at Login", Kind::toggleLaunchAtLogin);
    login.checkable = true;
    login.checked = state.launchAtLogin;
    menu.push_back(login);
    menu.push_back(separator());

    auto startBreak = command("Start Break Now", Kind::startBreak);
    startBreak.keySequence = state.startBreakKeySequence;
    menu.push_back(startBreak);

    auto snooze = item(Item::Role::submenu, "Snooze Next Break");
    for (const int minutes : BreakTiming::snoozeMinuteChoices)
        snooze.submenu.push_back(command(snoozeTitle(minutes), MenuCommand::snooze(minutes)));
    menu.push_back(snooze);

    auto pause = item(Item::Role::submenu, "Pause Reminders");
    pause.hidden = state.paused;
    for (const int minutes : pauseMinuteChoices)
        pause.submenu.push_back(command(pauseTitle(minutes), MenuCommand::pause(minutes)));
    pause.submenu.push_back(command("Until Tomorrow", Kind::pauseUntilTomorrow));
    pause.submenu.push_back(command("Until I Resume", Kind::pauseUntilResumed));
    menu.push_back(pause);

    auto resume = command(resumeTitle(state.paused ? state.pausedUntilTime : std::nullopt), Kind::resume);
    resume.hidden = !state.paused;
    menu.push_back(resume);
    menu.push_back(separator());

    auto streak = informational(Item::Role::streak, "Streak: –");
    if (state.streakDays) {
        streak.title = streakTitle(*state.streakDays);
        streak.hidden = *state.streakDays == 0;
    }
    menu.push_back(streak);
    menu.push_back(command("Reports…", Kind::openReports));
    menu.push_back(command("Gallery…", Kind::openGallery));
    menu.push_back(command("Use Latest Sorvala as Wallpaper", Kind::useLatestSorvalaAsWallpaper));
    menu.push_back(command("Settings…", Kind::openSettings));
    menu.push_back(command("Install Screen Saver", Kind::installScreenSaver));
    menu.push_back(command("About Sorvala…", Kind::openAbout));
    menu.push_back(command("Welcome…", Kind::openWelcome));
    menu.push_back(command("Report an Issue…", Kind::reportIssue));
    menu.push_back(command("Show Log in File Manager", Kind::revealLogInFinder));
    menu.push_back(separator());
    auto quit = item(Item::Role::quit, "Quit Sorvala");
    quit.keySequence = "Ctrl+Q";
    menu.push_back(quit);
    return menu;
}

} // namespace sorvala
