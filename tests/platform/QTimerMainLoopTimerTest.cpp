// SPDX-License-Identifier: MIT
#include "platform/QTimerMainLoopTimer.h"
#include "core/Clock.h"

#include "support/QtEventLoop.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

class QTimerMainLoopTimerTest : public ::testing::Test {
protected:
    SystemClock clock;
    QTimerMainLoopTimer timers{clock};
};

TEST_F(QTimerMainLoopTimerTest, AOneShotFiresOnceUnlessDroppedOrInvalidated) {
    int fired = 0;
    int cancelledFired = 0;
    auto timer = timers.scheduled(0.01, false, 0, [&] { ++fired; });
    timers.scheduled(0.005, false, 0, [&] { ++cancelledFired; }).reset();
    auto invalidated = timers.scheduled(0.005, false, 0, [&] { ++cancelledFired; });
    invalidated->invalidate();
    bool marker = false;
    auto later = timers.scheduled(0.1, false, 0, [&] { marker = true; });
    waitUntil([&] { return marker; }, 5000);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(cancelledFired, 0);
}

TEST_F(QTimerMainLoopTimerTest, RepeatingTimerKeepsFiringUntilItsHandleGoes) {
    int fired = 0;
    TimerField timer = timers.scheduled(0.005, true, 0.002, [&] {
        if (++fired == 3)
            timer.reset(); // a block may drop its own timer
    });
    waitUntil([&] { return fired >= 3; }, 5000);
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer);
}

TEST(QTimerMainLoopTimer, SettingTheWallClockMovesTheFireDateNotTheFiring) {
    struct SetClock final : Clock {
        Instant now() const override { return system.now() + offset; }
        SystemClock system;
        double offset = 0;
    } clock;
    QTimerMainLoopTimer timers(clock);
    auto timer = timers.scheduled(30, false, 0, [] {});
    for (const double by : {-3600.0, 7200.0}) {
        SCOPED_TRACE(by);
        clock.offset += by;
        EXPECT_NEAR(timer->fireDate() - clock.now(), 30, 1);
    }
}

} // namespace
} // namespace sorvala
