// SPDX-License-Identifier: MIT
// main() for widget tests: a QApplication on the offscreen platform in a fixed English locale, so
// the tests need no display and read the same month names everywhere.
#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
