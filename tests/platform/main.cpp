// SPDX-License-Identifier: MIT
// The adapters need a QCoreApplication for their event loop (queued notifications, file watching).
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
