// SPDX-License-Identifier: MIT
#include "simulation/VirtualTimers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvala {
namespace {

struct Fired {
    std::string name;
    double at;
};

class VirtualTimersTest : public ::testing::Test {
protected:
    VirtualClock clock{Instant::fromSecondsSinceEpoch(1000)};
    VirtualTimers timers{clock};
    std::vector<Fired> fired;

    TimerField arm(std::string name, double after, bool repeats = false) {
        return timers.scheduled(after, repeats, 0, [this, name] {
            fired.push_back({name, clock.now() - Instant::fromSecondsSinceEpoch(1000)});
        });
    }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& f : fired)
            result.push_back(f.name + "@" + std::to_string(static_cast<int>(f.at)));
        return result;
    }
};

TEST_F(VirtualTimersTest, FiresInDeadlineOrderWithTiesInCreationOrderAndRepeats) {
    auto late = arm("late", 25);
    auto first = arm("tie-first", 10);
    auto second = arm("tie-second", 10);
    auto poll = arm("poll", 10, true);
    timers.runUntil(clock.now() + 30);
    EXPECT_EQ(names(), (std::vector<std::string>{"tie-first@10", "tie-second@10", "poll@10", "poll@20", "late@25",
                                                 "poll@30"}));
    EXPECT_EQ(clock.now(), Instant::fromSecondsSinceEpoch(1030));
    EXPECT_FALSE(first->isValid());
    EXPECT_TRUE(poll->isValid());
    EXPECT_EQ(timers.liveCount(), 1);
}

TEST_F(VirtualTimersTest, DroppedTimersNeverFireEvenFromInsideAnotherBlock) {
    TimerField victim = arm("victim", 10);
    TimerField self;
    auto killer = timers.scheduled(5, false, 0, [&] { victim.reset(); });
    self = timers.scheduled(1, true, 0, [&] { self.reset(); }); // a block may drop its own timer
    timers.runUntil(clock.now() + 20);
    EXPECT_TRUE(fired.empty());
    EXPECT_FALSE(self);
    EXPECT_EQ(timers.liveCount(), 0);
}

} // namespace
} // namespace sorvala
