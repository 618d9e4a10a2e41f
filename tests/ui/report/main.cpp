// SPDX-License-Identifier: MIT
// main() for the window tests: a widget application, offscreen unless a display is asked for
// (screenshots under the test session), in the appearance SORVALA_APPEARANCE names.
#include "ui/style/QtDesignTokens.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    sorvala::QtDesignTokens::applyAppearanceOverride(application);
    return RUN_ALL_TESTS();
}
