// SPDX-License-Identifier: MIT
// main() for tests that paint with Qt Gui: an application object on the offscreen platform, so
// the tests never need a display.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
