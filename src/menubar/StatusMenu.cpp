// SPDX-License-Identifier: MIT
#include "menubar/StatusMenu.h"

#include "core/BreakTiming.h"
#include "i18n/I18n.h"

namespace sorvala {

namespace {

using Item = StatusMenu::Item;
using Kind = MenuCommand::Kind;

/// An item titled `label`, whose "&" marks the letter that chooses it from the keyboard.
Item item(Item::Role role, std::string label) {
    Item made;
    made.role = role;
    made.title = StatusMenu::withoutMnemonic(label);
    made.label = std::move(label);
    return made;
}

/// Where `title` may hold an "&" of its own.
Item plainItem(Item::Role role, const std::string& title) {
    std::string label;
    for (const char c : title)
        label += c == '&' ? std::string("&&") : std::string(1, c);
    return item(role, label);
}

Item separator() {
    return item(Item::Role::separator, "");
}

Item informational(Item::Role role, const std::string& title) {
    auto made = plainItem(role, title);
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

/// A command whose title has no mnemonic.
Item plainCommand(const std::string& title, MenuCommand what) {
    auto made = plainItem(Item::Role::command, title);
    made.command = what;
    return made;
}

} // namespace

std::string StatusMenu::withoutMnemonic(std::string_view label) {
    std::string title;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size())
            ++i;
        title += label[i];
    }
    return title;
}

std::string StatusMenu::snoozeTitle(int minutes) {
    return i18ncp("snooze the next break", "By %1 Minute", "By %1 Minutes", minutes);
}

std::string StatusMenu::streakTitle(int days) {
    return i18np("Streak: %1 day", "Streak: %1 days", days);
}

std::string StatusMenu::resumeTitle(const std::optional<std::string>& pausedUntilTime) {
    return withoutMnemonic(resumeLabel(pausedUntilTime));
}

std::string StatusMenu::resumeLabel(const std::optional<std::string>& pausedUntilTime) {
    if (!pausedUntilTime)
        return i18n("&Resume Reminders");
    // TRANSLATORS: %1 is a time of day, such as 14:30.
    return i18n("&Resume Reminders (paused until %1)", *pausedUntilTime);
}

std::string StatusMenu::pauseTitle(int minutes) {
    if (minutes % 60 != 0)
        return i18ncp("pause reminders", "For %1 Minute", "For %1 Minutes", minutes);
    return i18ncp("pause reminders", "For %1 Hour", "For %1 Hours", minutes / 60);
}

std::vector<Item> StatusMenu::items(const State& state) {
    std::vector<Item> menu;
    menu.push_back(informational(Item::Role::statusLine, state.statusText));
    menu.push_back(separator());
    menu.push_back(command(i18n("&Open Sorvala"), Kind::openSorvala));
    auto login = command(i18n("&Launch at Login"), Kind::toggleLaunchAtLogin);
    login.checkable = true;
    login.checked = state.launchAtLogin;
    menu.push_back(login);
    menu.push_back(separator());

    auto startBreak = command(i18n("&Start Break Now"), Kind::startBreak);
    startBreak.keySequence = state.startBreakKeySequence;
    menu.push_back(startBreak);

    auto snooze = item(Item::Role::submenu, i18n("S&nooze Next Break"));
    for (const int minutes : BreakTiming::snoozeMinuteChoices)
        snooze.submenu.push_back(plainCommand(snoozeTitle(minutes), MenuCommand::snooze(minutes)));
    menu.push_back(snooze);

    auto pause = item(Item::Role::submenu, i18n("&Pause Reminders"));
    pause.hidden = state.paused;
    for (const int minutes : pauseMinuteChoices)
        pause.submenu.push_back(plainCommand(pauseTitle(minutes), MenuCommand::pause(minutes)));
    pause.submenu.push_back(command(i18n("Until &Tomorrow"), Kind::pauseUntilTomorrow));
    pause.submenu.push_back(command(i18n("Until I &Resume"), Kind::pauseUntilResumed));
    menu.push_back(pause);

    auto resume = command(resumeLabel(state.paused ? state.pausedUntilTime : std::nullopt), Kind::resume);
    resume.hidden = !state.paused;
    menu.push_back(resume);
    menu.push_back(separator());

    // TRANSLATORS: the streak before the history was read.
    const auto unread = i18n("Streak: –");
    auto streak = informational(Item::Role::streak, state.streakDays ? streakTitle(*state.streakDays) : unread);
    streak.hidden = state.streakDays == 0;
    menu.push_back(streak);
    menu.push_back(command(i18n("R&eports…"), Kind::openReports));
    menu.push_back(command(i18n("&Gallery…"), Kind::openGallery));
    menu.push_back(command(i18n("Use Latest Sorvala as &Wallpaper"), Kind::useLatestSorvalaAsWallpaper));
    menu.push_back(command(i18n("Se&ttings…"), Kind::openSettings));
    menu.push_back(command(i18n("&Install Screen Saver"), Kind::installScreenSaver));
    menu.push_back(command(i18n("&About Sorvala…"), Kind::openAbout));
    menu.push_back(command(i18n("Wel&come…"), Kind::openWelcome));
    menu.push_back(command(i18n("Report an Iss&ue…"), Kind::reportIssue));
    menu.push_back(command(i18n("Show Log in &File Manager"), Kind::revealLogInFinder));
    menu.push_back(separator());
    auto quit = item(Item::Role::quit, i18n("&Quit Sorvala"));
    quit.keySequence = "Ctrl+Q";
    menu.push_back(quit);
    return menu;
}

} // namespace sorvala
