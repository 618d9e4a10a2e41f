// SPDX-License-Identifier: MIT
#include "platform/TimerFdWallClockChanges.h"

#include "support/RecordingLogger.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

// Setting the clock needs privileges a test does not have; what can be checked is that the
// watch is armed, stays quiet while nobody sets the clock, and that the gap it measures from
// is steady.
TEST(TimerFdWallClockChanges, WatchesQuietlyWhileNobodySetsTheClock) {
    RecordingLogger log;
    TimerFdWallClockChanges changes(log);
    EXPECT_TRUE(changes.isWatching());
    EXPECT_TRUE(log.lines.empty());
    int heard = 0;
    auto subscription = changes.observe([&](double) { ++heard; });
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 0);
    const double before = wallMinusBootSeconds();
    EXPECT_NEAR(wallMinusBootSeconds() - before, 0, 0.5);
}

} // namespace
} // namespace sorvala
