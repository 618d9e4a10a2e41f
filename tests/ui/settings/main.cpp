// SPDX-License-Identifier: MIT
// main() for the settings window's tests: a widget application on the offscreen platform, unless
// screenshots are asked for (SORVALA_SETTINGS_SHOTS), which want the session's real display.
#include "ui/style/QtDesignTokens.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("SORVALA_SETTINGS_SHOTS"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    sorvala::QtDesignTokens::applyAppearanceOverride(application);
    return RUN_ALL_TESTS();
}
