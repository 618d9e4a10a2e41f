// SPDX-License-Identifier: MIT
#include "history/ReportsPresentation.h"

#include "support/ZoneCalendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using namespace ReportsPresentation;
using ::testing::IsEmpty;
using Outcome = BreakEvent::Outcome;

const ZoneCalendar tokyo("Asia/Tokyo");

BreakEvent event(const std::string& local, Outcome outcome, std::optional<double> seconds = std::nullopt) {
    return BreakEvent{tokyo.at(local), BreakEvent::Kind::long_, outcome, seconds};
}

TEST(ReportsMonthRows, OnlyMonthsWithResolvedBreaksAndOnlyTheLastOnes) {
    const std::vector<BreakEvent> sparse{
        event("2026-04-02T10:00:00", Outcome::skipped),     event("2026-01-31T23:30:00", Outcome::taken),
        event("2026-02-10T10:00:00", Outcome::postponed),   event("2026-03-05T10:00:00", Outcome::taken),
        event("2026-04-01T00:10:00", Outcome::taken),       event("2026-04-03T10:00:00", Outcome::skipped),
    };
    EXPECT_EQ(monthRows(sparse, tokyo), (std::vector<MonthRow>{{CivilDay{2026, 1, 1}, 1, 0},
                                                              {CivilDay{2026, 3, 1}, 1, 0},
                                                              {CivilDay{2026, 4, 1}, 1, 2}}));
    const MonthRow april{CivilDay{2026, 4, 1}, 1, 2};
    EXPECT_EQ(april.takenPercent(), 33);
    EXPECT_EQ((MonthRow{CivilDay{}, 3, 0}.takenPercent()), 100);
    EXPECT_EQ(april.normalizedWidth(6), 0.5);

    std::vector<BreakEvent> eightMonths;
    for (int month = 1; month <= 8; ++month)
        eightMonths.push_back(event("2026-0" + std::to_string(month) + "-15T10:00:00", Outcome::taken));
    const auto rows = monthRows(eightMonths, tokyo);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.front().month, (CivilDay{2026, 3, 1}));
    EXPECT_EQ(rows.back().month, (CivilDay{2026, 8, 1}));
}

TEST(ReportsExtremeDays, RateFirstThenMoreResolvedBreaks) {
    std::vector<BreakEvent> events;
    const auto day = [&](const std::string& date, int taken, int skipped) {
        for (int i = 0; i < taken; ++i)
            events.push_back(event(date + "T10:00:00", Outcome::taken));
        for (int i = 0; i < skipped; ++i)
            events.push_back(event(date + "T11:00:00", Outcome::skipped));
    };
    EXPECT_EQ(extremeDays(events, tokyo), std::nullopt);
    day("2026-05-01", 2, 0);
    auto extremes = extremeDays(events, tokyo);
    ASSERT_TRUE(extremes);
    EXPECT_EQ(extremes->best, extremes->worst);

    day("2026-05-02", 5, 0);
    day("2026-05-03", 1, 1);
    day("2026-05-04", 2, 2);
    day("2026-05-05", 0, 0);
    events.push_back(event("2026-05-06T10:00:00", Outcome::postponed));
    extremes = extremeDays(events, tokyo);
    ASSERT_TRUE(extremes);
    EXPECT_EQ(extremes->best, (DayExtreme{CivilDay{2026, 5, 2}, 5, 5}));
    EXPECT_EQ(extremes->worst, (DayExtreme{CivilDay{2026, 5, 4}, 2, 4}));
}

TEST(ReportsBreakLengths, TakenDurationsInHalfOpenRanges) {
    std::vector<BreakEvent> events;
    for (const double seconds : {59.9, 60.0, 299.9, 300.0, 600.0, -1.0})
        events.push_back(event("2026-05-01T10:00:00", Outcome::taken, seconds));
    events.push_back(event("2026-05-01T10:00:00", Outcome::skipped, 30.0));
    events.push_back(event("2026-05-01T10:00:00", Outcome::taken));
    const auto buckets = durationBuckets(events);
    EXPECT_EQ(buckets, (std::vector<DurationBucket>{
                           {"Under 1 min", 1}, {"1–5 min", 2}, {"5–10 min", 1}, {"Over 10 min", 1}}));

    const std::vector<BreakEvent> onlyPostponed{event("2026-05-01T10:00:00", Outcome::postponed)};
    EXPECT_THAT(monthRows(onlyPostponed, tokyo), IsEmpty());
    EXPECT_EQ(extremeDays(onlyPostponed, tokyo), std::nullopt);
    EXPECT_THAT(durationBuckets(onlyPostponed), IsEmpty());
}

} // namespace
} // namespace sorvala
