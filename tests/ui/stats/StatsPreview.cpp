// SPDX-License-Identifier: MIT
// Opens the statistics popup and the reports window over a history file, for looking at them by
// eye (screenshots in the test session): sorvala_stats_preview FILE [SECONDS].
#include "ui/reports/ReportsWindow.h"
#include "ui/stats/StatsWindow.h"

#include "app/SettingsSchema.h"
#include "core/Clock.h"
#include "platform/QSettingsPreferencesStore.h"
#include "platform/calendar/SystemCalendar.h"
#include "ui/style/ColorSchemeWatcher.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QTimer>

#include <iostream>

int main(int argc, char** argv) {
    using namespace sorvala;
    QApplication application(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: sorvala_stats_preview HISTORY-FILE [SECONDS]\n";
        return 2;
    }
    QtDesignTokens::applyAppearanceOverride(application);
    ColorSchemeWatcher colourScheme(application);
    NullLogger log;
    QSettingsPreferencesStore store(log);
    SettingsSchema::registerDefaults(store);
    SystemCalendar calendar;
    SystemClock clock;

    ReportsWindow reports({argv[1], calendar, log});
    reports.move(40, 40);
    reports.showAndRaise();
    StatsWindow stats({argv[1], calendar, clock, store, log});
    QTimer::singleShot(300, [&] { stats.toggle(QPoint(1500, 4)); });
    QTimer::singleShot(argc > 2 ? std::atoi(argv[2]) * 1000 : 5000, &application, &QApplication::quit);
    return application.exec();
}
