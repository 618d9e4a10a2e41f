// SPDX-License-Identifier: MIT
#include "menubar/StatusMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvala {
namespace {

using Item = StatusMenu::Item;

const Item& named(const std::vector<Item>& items, const std::string& title) {
    for (const auto& item : items)
        if (item.title == title || item.title.starts_with(title))
            return item;
    ADD_FAILURE() << "no item " << title;
    static const Item none;
    return none;
}

std::vector<std::string> titles(const std::vector<Item>& items) {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.role == Item::Role::separator ? "—" : item.title);
    return out;
}

TEST(StatusMenu, SubmenusCountInWholeMinutesAndHours) {
    // The menu's order and fixed titles are compared whole, digits aside, by the program's session test.
    const auto items = StatusMenu::items({});
    EXPECT_EQ(titles(named(items, "Snooze Next Break").submenu),
              (std::vector<std::string>{"By 1 Minute", "By 5 Minutes", "By 15 Minutes"}));
    EXPECT_EQ(titles(named(items, "Pause Reminders").submenu),
              (std::vector<std::string>{"For 10 Minutes", "For 15 Minutes", "For 30 Minutes", "For 45 Minutes",
                                        "For 1 Hour", "For 2 Hours", "For 4 Hours", "For 8 Hours",
                                        "For 24 Hours", "Until Tomorrow", "Until I Resume"}));
}

TEST(StatusMenu, EveryActionableItemCarriesItsCommand) {
    const auto items = StatusMenu::items({});
    EXPECT_EQ(named(items, "Open Sorvala").command, (MenuCommand{MenuCommand::Kind::openSorvala, 0}));
    EXPECT_EQ(named(items, "Show Log in File Manager").command,
              (MenuCommand{MenuCommand::Kind::revealLogInFinder, 0}));
    const auto& pause = named(items, "Pause Reminders").submenu;
    EXPECT_EQ(pause[4].command, MenuCommand::pause(60));
    EXPECT_EQ(pause[8].command, MenuCommand::pause(1440));
    EXPECT_EQ(pause[10].command, (MenuCommand{MenuCommand::Kind::pauseUntilResumed, 0}));
    EXPECT_EQ(named(items, "Snooze Next Break").submenu[2].command, MenuCommand::snooze(15));
    // Informational items and the quit item hand nothing to the application.
    EXPECT_FALSE(items.front().command);
    EXPECT_FALSE(items.front().enabled);
    EXPECT_FALSE(named(items, "Streak").command);
    EXPECT_FALSE(named(items, "Quit Sorvala").command);
}

TEST(StatusMenu, PauseAndResumeTakeTurns) {
    struct Case { const char* name; bool paused; std::optional<std::string> until; bool pauseHidden;
                  bool resumeHidden; std::string resumeTitle; };
    const Case cases[] = {
        {"paused until resumed", true, std::nullopt, true, false, "Resume Reminders"},
        {"paused until a time", true, "14:30", true, false, "Resume Reminders (paused until 14:30)"},
        // A stale deadline never leaks into the title while reminders run.
        {"running with a stale deadline", false, "14:30", false, true, "Resume Reminders"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusMenu::State state;
        state.paused = c.paused;
        state.pausedUntilTime = c.until;
        const auto items = StatusMenu::items(state);
        EXPECT_EQ(named(items, "Pause Reminders").hidden, c.pauseHidden);
        EXPECT_EQ(named(items, "Resume Reminders").hidden, c.resumeHidden);
        EXPECT_EQ(named(items, "Resume Reminders").title, c.resumeTitle);
    }
}

TEST(StatusMenu, StreakLaunchAtLoginAndShortcut) {
    StatusMenu::State state;
    state.streakDays = 1;
    state.launchAtLogin = true;
    state.startBreakKeySequence = "Ctrl+Alt+Super+B";
    auto items = StatusMenu::items(state);
    EXPECT_EQ(named(items, "Streak").title, "Streak: 1 day");
    EXPECT_TRUE(named(items, "Launch at Login").checked);
    EXPECT_EQ(named(items, "Start Break Now").keySequence, "Ctrl+Alt+Super+B");

    state.streakDays = 0;
    state.launchAtLogin = false;
    items = StatusMenu::items(state);
    EXPECT_TRUE(named(items, "Streak").hidden);
    EXPECT_FALSE(named(items, "Launch at Login").checked);
    EXPECT_EQ(StatusMenu::streakTitle(12), "Streak: 12 days");
}

TEST(StatusMenu, LabelsMarkMnemonicsAndKeepOtherAmpersands) {
    struct Case { std::string label; std::string title; };
    const Case cases[] = {{"&Open Sorvala", "Open Sorvala"}, {"S&nooze", "Snooze"}, {"A && B", "A & B"}, {"End&", "End&"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(StatusMenu::withoutMnemonic(c.label), c.title);
    }
    StatusMenu::State state;
    state.statusText = "Calls & meetings — break waiting to run";
    const auto items = StatusMenu::items(state);
    EXPECT_EQ(items.front().label, "Calls && meetings — break waiting to run");
    EXPECT_EQ(named(items, "Quit Sorvala").label, "&Quit Sorvala");
}

} // namespace
} // namespace sorvala
