// SPDX-License-Identifier: MIT
#include "drawing/DrawingPace.h"

#include <gtest/gtest.h>

#include <vector>

namespace sorvala {
namespace {

using namespace DrawingPace;

TEST(DrawingPaceTime, TypicalSparseAndDenseDrawings) {
    EXPECT_NEAR(effectiveSpeed(150000, 3), 833.333, 0.001);
    struct Case { const char* name; double ink; double speed; double seconds; };
    const Case cases[] = {
        {"typical", 150000, 3, 180},
        {"sparse drawings finish sooner", 30000, 3, 90},
        {"dense drawings take longer", 900000, 3, 270},
        {"anything between 60k and 600k takes 540/speed", 60000, 3, 180},
        {"upper end of the clamp", 600000, 3, 180},
        {"fastest level", 150000, 10, 54},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(drawingSeconds(c.ink, c.speed), c.seconds, 1e-6);
    }
}

TEST(DrawingPaceEstimate, MinutesAndWords) {
    struct Case { double speed; int minutes; const char* words; };
    const Case cases[] = {
        {1, 9, "about 9 minutes for a typical sorvala"},
        {2, 5, "about 5 minutes for a typical sorvala"}, // 4.5 rounds up
        {10, 1, "about 1 minute for a typical sorvala"}, // 0.9 rounds to 1
        {100, 1, "about 1 minute for a typical sorvala"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        EXPECT_EQ(estimatedMinutesPerDrawing(c.speed), c.minutes);
        EXPECT_EQ(estimateDescription(c.speed), c.words);
    }
}

TEST(DrawingPaceSpendFrame, LiftIsPaidBeforeTravel) {
    int calls = 0;
    auto never = [&](double) { ++calls; return TravelOutcome{0, 0}; };
    EXPECT_NEAR(spendFrame(0.016, 0.05, never), 0.034, 1e-15);
    EXPECT_DOUBLE_EQ(spendFrame(0, 0.05, never), 0.05);
    EXPECT_EQ(calls, 0);

    // A stroke ends after 0.01 s of travel and owes a 0.02 s lift; the rest of the frame pays it
    // and travel continues on the next stroke with what remains.
    std::vector<double> budgets;
    auto strokeEnds = [&](double budget) {
        budgets.push_back(budget);
        if (budgets.size() == 1)
            return TravelOutcome{budget - 0.01, 0.02};
        return TravelOutcome{0, 0};
    };
    EXPECT_DOUBLE_EQ(spendFrame(0.05, 0.005, strokeEnds), 0);
    ASSERT_EQ(budgets.size(), 2u);
    EXPECT_NEAR(budgets[0], 0.045, 1e-15);
    EXPECT_NEAR(budgets[1], 0.015, 1e-15);

    // Travel that moves nothing drops the time and reports its lift.
    EXPECT_DOUBLE_EQ(spendFrame(0.05, 0, [](double budget) { return TravelOutcome{budget, 0.1}; }), 0.1);
}

} // namespace
} // namespace sorvala
