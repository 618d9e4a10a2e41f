// SPDX-License-Identifier: MIT
#include "core/Clock.h"
#include "platform/QTimerMainLoopTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvala {
namespace {

// Runs the event loop until `done` holds or five seconds pass.
template <class Done> void runUntil(Done done) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

TEST(QTimerMainLoopTimer, OneShotFiresOnceAndIsThenInvalid) {
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    int fired = 0;
    auto timer = timers.scheduled(0.01, false, 0, [&] { ++fired; });
    EXPECT_TRUE(timer->isValid());
    bool marker = false;
    auto later = timers.scheduled(0.1, false, 0, [&] { marker = true; });
    runUntil([&] { return marker; });
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isValid());
}

TEST(QTimerMainLoopTimer, RepeatingTimerKeepsFiringUntilItsHandleGoes) {
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    int fired = 0;
    TimerField timer = timers.scheduled(0.005, true, 0.002, [&] {
        if (++fired == 3)
            timer.reset(); // a block may drop its own timer
    });
    runUntil([&] { return fired >= 3; });
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer);
}

TEST(QTimerMainLoopTimer, DroppedOrInvalidatedTimersNeverFire) {
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    int fired = 0;
    timers.scheduled(0.005, false, 0, [&] { ++fired; }).reset();
    auto invalidated = timers.scheduled(0.005, false, 0, [&] { ++fired; });
    invalidated->invalidate();
    bool marker = false;
    auto later = timers.scheduled(0.05, false, 0, [&] { marker = true; });
    runUntil([&] { return marker; });
    EXPECT_EQ(fired, 0);
}

TEST(QTimerMainLoopTimer, MovingTheFireDateDelaysTheFiring) {
    SystemClock clock;
    QTimerMainLoopTimer timers(clock);
    // A loaded machine may run late by any amount: only the order and the earliest time hold.
    const auto start = clock.now();
    std::optional<Instant> firedAt;
    std::vector<std::string> order;
    auto timer = timers.scheduled(0.01, false, 0, [&] {
        firedAt = clock.now();
        order.emplace_back("moved");
    });
    timer->setFireDate(timer->fireDate() + 0.2);
    auto marker = timers.scheduled(0.05, false, 0, [&] { order.emplace_back("marker"); });
    EXPECT_GE(timer->fireDate() - start, 0.21);
    runUntil([&] { return firedAt.has_value(); });
    ASSERT_TRUE(firedAt);
    EXPECT_EQ(order, (std::vector<std::string>{"marker", "moved"}));
    EXPECT_GE(*firedAt - start, 0.2);
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

TEST(QTimerMainLoopTimer, PreciseOnlyWithoutTolerance) {
    EXPECT_EQ(QTimerMainLoopTimer::timerType(0), Qt::PreciseTimer);
    EXPECT_EQ(QTimerMainLoopTimer::timerType(5), Qt::CoarseTimer);
}

} // namespace
} // namespace sorvala
