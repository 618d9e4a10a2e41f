// SPDX-License-Identifier: MIT
#include "app/ShortcutAction.h"
#include "apps/SubcommandRun.h"
#include "core/Logger.h"
#include "support/ScopedEnvironment.h"
#include "platform/QSettingsPreferencesStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvala::ctl {
namespace {

TEST(ShortcutsCommand, ListsEachBindingInForceAndWhetherItRegisters) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X server (run inside scripts/test-session)";
    QTemporaryDir home;
    const ScopedEnvironment config("XDG_CONFIG_HOME", home.path().toStdString());
    NullLogger log;
    {
        QSettingsPreferencesStore store(QSettingsPreferencesStore::standardPath(), log);
        store.set(SettingsSchema::shortcutTogglePauseKey, std::string("2304:35:P"));
        store.set(SettingsSchema::shortcutSnoozeOneMinuteKey, std::string("6400:11:B"));
        store.set(SettingsSchema::shortcutStartMicroBreakKey, std::string());
    }
    const auto result = runSubcommand("shortcuts", {});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "toggleBreak           Ctrl+Alt+Super+B        6400:11:B     registered\n"
              "startMicroBreak       none                    -             none\n"
              "togglePause           Alt+Super+P             2304:35:P     registered\n"
              "snoozeOneMinute       Ctrl+Alt+Super+B        6400:11:B     failed status=duplicate\n"
              "snoozeFiveMinutes     none                    -             none\n"
              "snoozeFifteenMinutes  none                    -             none\n");
}

TEST(ShortcutsCommand, RefusesBadArgumentsWithOneLine) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--listen"}, {"--listen", "0"},
                                                                  {"--listen", "5s"}, {"--loud"}})
        expectRefused(runSubcommand("shortcuts", args));
}

} // namespace
} // namespace sorvala::ctl
