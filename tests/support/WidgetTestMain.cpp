// SPDX-License-Identifier: MIT
// main() for widget tests: a QApplication in a fixed English locale, so the tests read the same
// month names everywhere, in the appearance SORVALA_APPEARANCE names. It runs offscreen unless
// QT_QPA_PLATFORM names a platform (the test session's display, for screenshots and real clicks);
// folders built with SORVALA_WIDGET_TESTS_OFFSCREEN always run offscreen.
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifndef SORVALA_WIDGET_TESTS_OFFSCREEN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
#endif
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication application(argc, argv);
    sorvala::QtDesignTokens::applyAppearanceOverride(application);
    return RUN_ALL_TESTS();
}
