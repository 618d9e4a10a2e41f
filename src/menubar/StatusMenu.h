// SPDX-License-Identifier: MIT
#pragma once

#include "menubar/MenuCommand.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// The status item's menu as plain values: every item in order, with the titles, check marks and
/// hidden states of one moment. The tray builds its menu once from `items` and re-applies a fresh
/// `items` before each opening; the shape never changes, only titles and states do.
namespace StatusMenu {

/// One entry of the menu.
struct Item {
    enum class Role { separator, statusLine, command, submenu, streak, quit };
    Role role = Role::command;
    /// What the item says, without a mnemonic marker: for matching, logs and tests.
    std::string title;
    /// The title as a menu shows it: "&" before the letter that chooses it from the keyboard, "&&" for a
    /// literal "&".
    std::string label;
    /// The command an actionable item hands to the application.
    std::optional<MenuCommand> command;
    bool hidden = false;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    /// The key combination shown beside the title, in "Ctrl+Alt+Super+B" form; empty for none.
    std::string keySequence;
    std::vector<Item> submenu;
};

/// What the menu shows at one moment.
struct State {
    std::string statusText;
    bool paused = false;
    /// The end of a timed pause as the user's short time of day; none when paused until resumed.
    std::optional<std::string> pausedUntilTime;
    bool launchAtLogin = false;
    /// Days of the current streak; `nullopt` before the history was first read.
    std::optional<int> streakDays;
    /// The global shortcut that starts a break, when its key is a single character.
    std::string startBreakKeySequence;
};

/// The whole menu for `state`.
std::vector<Item> items(const State& state);

/// `label` without its mnemonic marker: "&Open" reads "Open", "A && B" reads "A & B".
std::string withoutMnemonic(std::string_view label);

/// "By 1 Minute", "By 5 Minutes".
std::string snoozeTitle(int minutes);
/// "Streak: 1 day", "Streak: 3 days".
std::string streakTitle(int days);
/// "Resume Reminders", or "Resume Reminders (paused until 14:30)" for a timed pause.
std::string resumeTitle(const std::optional<std::string>& pausedUntilTime);
/// The same with its mnemonic, as the menu shows it.
std::string resumeLabel(const std::optional<std::string>& pausedUntilTime);

/// The timed pauses offered, in minutes, in menu order.
inline constexpr int pauseMinuteChoices[] = {10, 15, 30, 45, 60, 120, 240, 480, 1440};
/// "For 10 Minutes", "For 1 Hour", "For 24 Hours".
std::string pauseTitle(int minutes);

} // namespace StatusMenu

} // namespace sorvala
