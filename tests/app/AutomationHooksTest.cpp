// SPDX-License-Identifier: MIT
#include "app/AutomationHooks.h"
#include "support/RecordingLauncher.h"
#include "support/RecordingLogger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using ::testing::ElementsAre;
using Arguments = std::vector<std::string>;

TEST(AutomationHookArguments, TheLoginShellFallsBackToTheSystemShell) {
    EXPECT_EQ(AutomationHooks::loginShell("/usr/bin/fish", "/bin/zsh"), "/usr/bin/fish");
    EXPECT_EQ(AutomationHooks::loginShell("", "/bin/zsh"), "/bin/zsh");
    EXPECT_EQ(AutomationHooks::loginShell("", ""), "/bin/sh");
}

TEST(AutomationHookRedaction, OnlyTheFirstWordReachesTheLog) {
    struct Case { const char* name; std::optional<std::string> command; const char* logged; };
    const Case cases[] = {
        {"missing", std::nullopt, "none"},
        {"blank", " \n ", "none"},
        {"single word in full", " /home/me/light.sh ", "/home/me/light.sh"},
        {"arguments hidden", "notify-send   \"Break\" now", "notify-send …"},
        {"tab separates too", "curl\t-H token", "curl …"},
        {"second line hidden", "set-status\nsecret", "set-status …"},
        {"assignment keeps its name", "TOKEN=s3cr3t curl https://x", "TOKEN=… curl …"},
        {"several assignments", "A=1 B_2=two\tnotify-send", "A=… B_2=… notify-send"},
        {"assignment alone", "SECRET=x", "SECRET=…"},
        {"not a name before =", "2x=y run", "2x=y …"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AutomationHooks::redactedDescription(c.command), c.logged);
    }
}

TEST(AutomationHookRun, LogsStartsAndFailuresAndSkipsBlankCommands) {
    RecordingLauncher launcher;
    RecordingLogger log;
    AutomationHooks::run(std::string("   \n"), launcher, log);
    AutomationHooks::run(std::nullopt, launcher, log);
    EXPECT_TRUE(launcher.launched.empty());
    EXPECT_TRUE(log.lines.empty());

    AutomationHooks::run(std::string(" /opt/hook.sh start "), launcher, log);
    launcher.fails = true;
    AutomationHooks::run(std::string("/opt/hook.sh"), launcher, log);
    EXPECT_THAT(launcher.launched, ElementsAre(Arguments{"/bin/bash", "-lc", "/opt/hook.sh start"},
                                               Arguments{"/bin/bash", "-lc", "/opt/hook.sh"}));
    EXPECT_THAT(log.lines, ElementsAre("automation hook started: /opt/hook.sh …",
                                       "automation hook failed to start: no such file"));
}

} // namespace
} // namespace sorvala
