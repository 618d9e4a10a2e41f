// SPDX-License-Identifier: MIT
// Pictures of every page for a person to look at: runs only with SORVALA_SETTINGS_SHOTS=<folder>.
#include "ui/settings/SettingsWindow.h"

#include "app/SettingsSchema.h"
#include "platform/QSettingsPreferencesStore.h"
#include "support/RecordingLogger.h"
#include "support/TemporaryDirectory.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(SettingsWindowShots, EveryPage) {
    const QString folder = qEnvironmentVariable("SORVALA_SETTINGS_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set SORVALA_SETTINGS_SHOTS to a folder to take pictures";
    QDir().mkpath(folder);
    TemporaryDirectory directory;
    RecordingLogger log;
    QSettingsPreferencesStore store((directory / "Sorvala.conf").string(), log);
    SettingsSchema::registerDefaults(store);
    store.set(SettingsSchema::fixedBreakTimesKey, std::string("07:30, 13:00"));
    store.set(SettingsSchema::workingHoursEnabledKey, true);
    store.set(SettingsSchema::pauseDuringCalendarEventsKey, true);
    store.set(SettingsSchema::excludedAppBundleIdentifiersKey,
              std::vector<std::string>{"org.example.Missing"});

    SettingsWindow window({store, log});
    window.showAndRaise();
    for (int page = 0; page < 9; ++page) {
        window.selectPage(page);
        QTest::qWait(page == 6 ? 8000 : 150);
        window.grab().save(folder + QStringLiteral("/page%1.png").arg(page + 1));
    }
}

} // namespace
} // namespace sorvala
