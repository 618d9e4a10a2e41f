// SPDX-License-Identifier: MIT
// Opens the settings window over factory settings kept in memory, for the screen-reader walk and
// for trying the keyboard by hand: sorvala_settings_preview [PAGE]. Nothing is stored.
#include "app/SettingsSchema.h"
#include "i18n/I18n.h"
#include "simulation/MemoryPreferences.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>

int main(int argc, char** argv) {
    using namespace sorvala;
    QApplication application(argc, argv);
    Translation::setUp();
    QtDesignTokens::applyAppearanceOverride(application);
    NullLogger log;
    MemoryPreferences store;
    SettingsSchema::registerDefaults(store);
    SettingsWindow window({store, log});
    window.showAndRaise();
    if (argc > 1)
        window.selectPage(std::atoi(argv[1]));
    QObject::connect(&application, &QApplication::lastWindowClosed, &application, &QApplication::quit);
    return application.exec();
}
