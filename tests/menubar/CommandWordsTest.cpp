// SPDX-License-Identifier: MIT
// The words commands travel as: action names on the command line and over D-Bus, menu commands
// as text.
#include "menubar/ControlAction.h"
#include "menubar/MenuCommand.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(ControlAction, EveryNameRoundTripsAndOtherWordsAreRefused) {
    for (const auto action : allControlActions) {
        SCOPED_TRACE(std::string(text(action)));
        EXPECT_EQ(controlActionFromText(text(action)), action);
        EXPECT_NE(controlActionNames().find(text(action)), std::string_view::npos);
    }
    EXPECT_EQ(snoozeMinutes(ControlAction::snooze15), 15);
    EXPECT_EQ(snoozeMinutes(ControlAction::togglePause), 0);
    for (const char* word : {"", "Start-Break", "start_break", "snooze-2", "snooze", "start-break ", "toggleBreak"})
        EXPECT_EQ(controlActionFromText(word), std::nullopt) << word;
}

TEST(MenuCommand, EveryCommandRoundTripsAsTextAndMalformedTextIsRefused) {
    using Kind = MenuCommand::Kind;
    const MenuCommand commands[] = {
        MenuCommand::snooze(5),         MenuCommand::pause(1440),        {Kind::openSorvala, 0},
        {Kind::toggleLaunchAtLogin, 0}, {Kind::startBreak, 0},           {Kind::pauseUntilTomorrow, 0},
        {Kind::pauseUntilResumed, 0},   {Kind::resume, 0},               {Kind::openReports, 0},
        {Kind::openGallery, 0},         {Kind::useLatestSorvalaAsWallpaper, 0},
        {Kind::openSettings, 0},        {Kind::installScreenSaver, 0},   {Kind::openAbout, 0},
        {Kind::openWelcome, 0},         {Kind::reportIssue, 0},          {Kind::revealLogInFinder, 0},
    };
    for (const auto& command : commands)
        EXPECT_EQ(menuCommandFromText(encoded(command)), command) << encoded(command);
    EXPECT_EQ(encoded(MenuCommand::pause(10)), "pause:10");
    for (const char* word : {"", "pause", "pause:", "pause:0", "pause:-5", "pause:10x", "pause:99999999999",
                             "openSorvala:3", "snooze:1:2", "unknown"})
        EXPECT_EQ(menuCommandFromText(word), std::nullopt) << word;
}

} // namespace
} // namespace sorvala
