// SPDX-License-Identifier: MIT
#include "app/AppLogger.h"
#include "platform/QtFatalMessageBridge.h"

#include "support/TemporaryDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QtGlobal>

namespace sorvala {
namespace {

TEST(QtFatalMessageBridgeDeathTest, AFatalMessageIsLoggedBeforeQtEndsTheProcess) {
    // The forked child writes into this test's folder, so the "fast" style (fork only) is needed.
    GTEST_FLAG_SET(death_test_style, "fast");
    TemporaryDirectory state;
    const auto file = state / "Sorvala.log";
    EXPECT_DEATH(
        {
            AppLogger::installExceptionHandler(file);
            QtFatalMessageBridge::install();
            qFatal("settings file vanished");
        },
        "settings file vanished");
    EXPECT_THAT(readFile(file), ::testing::HasSubstr(" EXCEPTION qFatal: settings file vanished "));
}

} // namespace
} // namespace sorvala
