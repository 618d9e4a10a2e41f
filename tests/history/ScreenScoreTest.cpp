// SPDX-License-Identifier: MIT
#include "history/DailyStats.h"
#include "history/ScreenScore.h"
#include "history/StatsPresentation.h"

#include "support/ZoneCalendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace sorvala {
namespace {

using ::testing::ElementsAre;
using Outcome = BreakEvent::Outcome;
using Factor = ScreenScore::Factor;

const ZoneCalendar berlin("Europe/Berlin");

BreakEvent event(const char* local, Outcome outcome, std::optional<double> seconds = std::nullopt,
                 BreakEvent::Kind kind = BreakEvent::Kind::long_) {
    return BreakEvent{berlin.at(local), kind, outcome, seconds};
}

std::optional<ScreenScore> scoreOf(const std::vector<BreakEvent>& events, int intervalMinutes = 60) {
    return ScreenScore::daily(events, berlin.at("2026-12-07T12:00:00"), intervalMinutes, berlin);
}

TEST(ScreenScoreDaily, WorkedExamples) {
    EXPECT_EQ(scoreOf({}), std::nullopt);

    EXPECT_EQ(scoreOf({event("2026-12-07T09:00:00", Outcome::taken, 300.0)}), (ScreenScore{100, {}, 0}));

    // 09:00 to 11:00 with five minutes of rest: 6900 s worked against 3600 s.
    EXPECT_EQ(scoreOf({event("2026-12-07T09:00:00", Outcome::taken, 300.0),
                       event("2026-12-07T11:00:00", Outcome::taken, 300.0)}),
              (ScreenScore{91, {Factor{"Spent 1h 55m without a break", -9}}, 0}));

    EXPECT_EQ(scoreOf({event("2026-12-07T09:00:00", Outcome::skipped, 3.0),
                       event("2026-12-07T09:20:00", Outcome::skipped, 3.0)}),
              (ScreenScore{90, {Factor{"Skipped 2 breaks", -10}}, 0}));

    // Spent factors come before the skipped one, in order; the file order does not matter.
    EXPECT_EQ(scoreOf({event("2026-12-07T15:00:00", Outcome::taken), event("2026-12-07T08:00:00", Outcome::skipped),
                       event("2026-12-07T12:00:00", Outcome::taken)}),
              (ScreenScore{45, {Factor{"Spent 4h 0m without a break", -30}, Factor{"Spent 3h 0m without a break", -20},
                                Factor{"Skipped 1 break", -5}},
                           0}));
}

TEST(ScreenScoreDaily, RestAndUnobservedTime) {
    // Unobserved and asleep events are anchors and rest; their durations cover the gap.
    const auto covered = scoreOf({event("2026-12-07T08:00:00", Outcome::taken),
                                  event("2026-12-07T11:00:00", Outcome::unobserved, 3725.0),
                                  event("2026-12-07T11:00:00", Outcome::unobserved, -50.0),
                                  event("2026-12-07T13:30:00", Outcome::asleep, 5400.0)});
    ASSERT_TRUE(covered);
    EXPECT_EQ(covered->factors, (std::vector<Factor>{Factor{"Spent 1h 57m without a break", -9}}));
    EXPECT_DOUBLE_EQ(covered->unobservedSeconds, 3725.0);

    // An excused hold of two hours rests one interval at most; a score never drops below zero.
    const std::vector<BreakEvent> day{event("2026-12-07T09:00:00", Outcome::taken),
                                      event("2026-12-07T12:00:00", Outcome::excused, 7200.0),
                                      event("2026-12-07T12:00:00", Outcome::taken)};
    EXPECT_DOUBLE_EQ(ScreenScore::restSeconds(day, berlin.at("2026-12-07T09:00:00"), berlin.at("2026-12-07T12:00:00"), 3600),
                     3600.0);
    std::vector<BreakEvent> terrible{event("2026-12-07T00:30:00", Outcome::taken)};
    for (int i = 0; i < 25; ++i)
        terrible.push_back(event("2026-12-07T01:00:00", Outcome::skipped));
    EXPECT_EQ(scoreOf(terrible)->score, 0);
}

TEST(ScreenScoreRest, SpansAreClampedToTheWindowAndOverlapsCountOnce) {
    const Instant from = berlin.at("2026-12-07T10:00:00");
    const Instant to = berlin.at("2026-12-07T11:00:00");
    const std::vector<BreakEvent> day{
        event("2026-12-07T10:05:00", Outcome::taken, 600.0),  // from 09:55: five minutes inside
        event("2026-12-07T10:30:00", Outcome::taken, 600.0),  // 10:20 to 10:30
        event("2026-12-07T10:25:00", Outcome::asleep, 300.0), // 10:20 to 10:25, inside the one above
        event("2026-12-07T11:10:00", Outcome::taken, 1200.0), // 10:50 to 11:10: ten minutes inside
        event("2026-12-07T10:40:00", Outcome::postponed),     // no length
    };
    EXPECT_DOUBLE_EQ(ScreenScore::restSeconds(day, from, to, 3600), 25 * 60.0);
}

TEST(DailyStatsStreaks, QualifyingDaysInARow) {
    std::vector<BreakEvent> events;
    const auto day = [&](const char* date, int taken, int skipped) {
        for (int i = 0; i < taken; ++i)
            events.push_back(event((std::string(date) + "T10:00:00").c_str(), Outcome::taken));
        for (int i = 0; i < skipped; ++i)
            events.push_back(event((std::string(date) + "T11:00:00").c_str(), Outcome::skipped));
    };
    day("2026-11-20", 5, 0);
    day("2026-11-21", 4, 1); // 0.8 qualifies
    day("2026-11-22", 3, 1); // 0.75 does not
    day("2026-12-04", 4, 1);
    day("2026-12-05", 2, 0);
    day("2026-12-06", 9, 0);
    events.push_back(event("2026-12-07T08:00:00", Outcome::postponed)); // today, nothing resolved yet
    const Instant today = berlin.at("2026-12-07T18:00:00");

    EXPECT_EQ(BreakLog::streak(events, today, berlin), 3);
    EXPECT_EQ(BreakLog::streak(events, berlin.at("2026-12-08T09:00:00"), berlin), 0) << "yesterday had no break";
    EXPECT_EQ(BreakLog::streak(events, berlin.at("2026-11-22T20:00:00"), berlin), 0);
    EXPECT_EQ(BreakLog::longestStreak(events, berlin), 3);
    EXPECT_EQ(BreakLog::postponedCount(events, today, berlin), 1);

    day("2026-12-07", 1, 1);
    EXPECT_EQ(BreakLog::streak(events, today, berlin), 0) << "a resolved, failing today ends it";
    EXPECT_EQ(BreakLog::dailyRates(events, berlin).at(CivilDay{2026, 11, 22}), (DailyRate{3, 4}));
    EXPECT_EQ(BreakLog::streak({}, today, berlin), 0);
    EXPECT_EQ(BreakLog::longestStreak({}, berlin), 0);
}

TEST(DailyStatsStreaks, ReadBackOnlyAsFarAsTheStreakRuns) {
    struct Case { int days; std::size_t reads; };
    const Case cases[] = {{0, 1}, {3, 1}, {8, 2}, {40, 3}};
    const Instant today = berlin.at("2026-12-07T18:00:00");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        std::vector<BreakEvent> events{event("2025-01-06T10:00:00", Outcome::taken)};
        for (int back = c.days; back >= 1; --back)
            events.push_back({berlin.startOfDay(berlin.day(today).addingDays(-back)) + 36000.0,
                              BreakEvent::Kind::long_, Outcome::taken, {}});
        std::size_t reads = 0;
        const auto since = [&](Instant from) {
            ++reads;
            std::vector<BreakEvent> recent;
            std::copy_if(events.begin(), events.end(), std::back_inserter(recent),
                         [from](const BreakEvent& e) { return e.date >= from; });
            return recent;
        };
        EXPECT_EQ(BreakLog::streakFromRecent(since, today, berlin), c.days);
        EXPECT_EQ(reads, c.reads);
    }
}

TEST(ScreenScoreDaily, SleepInTheMiddleOfTheDaySplitsItsWork) {
    // 08:00 to 12:00 less the ten minutes asleep, then 12:00 to 16:00: two stretches, not one.
    EXPECT_EQ(scoreOf({event("2026-12-07T08:00:00", Outcome::taken, 300.0),
                       event("2026-12-07T12:00:00", Outcome::asleep, 600.0),
                       event("2026-12-07T16:00:00", Outcome::taken)}),
              (ScreenScore{42,
                           {Factor{"Spent 3h 50m without a break", -28}, Factor{"Spent 4h 0m without a break", -30}},
                           0}));
}

TEST(DailyStatsStreaks, CalendarDaysFollowEachOther) {
    struct Case { const char* name; const char* days[3]; const char* now; int streak; int longest; };
    const Case cases[] = {
        {"a missing day breaks the streak", {"2026-12-07", "2026-12-08", "2026-12-10"}, "2026-12-10T23:00:00", 1, 2},
        {"daylight-saving days still follow each other", {"2026-03-28", "2026-03-29", "2026-03-30"},
         "2026-03-30T23:30:00", 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BreakEvent> events;
        for (const char* day : c.days)
            events.push_back(event((std::string(day) + "T10:00:00").c_str(), Outcome::taken));
        EXPECT_EQ(BreakLog::streak(events, berlin.at(c.now), berlin), c.streak);
        EXPECT_EQ(BreakLog::longestStreak(events, berlin), c.longest);
    }
}

TEST(StatsPresentationWeek, SevenBarsEndingOnTheDay) {
    const std::vector<BreakEvent> events{
        event("2026-11-30T23:59:00", Outcome::taken), // one day too early
        event("2026-12-01T00:00:00", Outcome::taken, 20.0, BreakEvent::Kind::micro),
        event("2026-12-01T10:00:00", Outcome::skipped),
        event("2026-12-07T10:00:00", Outcome::postponed),
        event("2026-12-07T10:00:00", Outcome::excused, 60.0),
        event("2026-12-08T00:00:00", Outcome::taken), // the day after
    };
    const auto bars = StatsPresentation::dayBars(events, berlin.at("2026-12-07T23:00:00"), berlin);
    ASSERT_EQ(bars.size(), 7u);
    EXPECT_EQ(bars.front(), (StatsPresentation::DayBar{CivilDay{2026, 12, 1}, 1, 1, 0}));
    EXPECT_EQ(bars.back(), (StatsPresentation::DayBar{CivilDay{2026, 12, 7}, 0, 0, 1}));
    EXPECT_EQ(bars[3].total(), 0);
}

TEST(StatsPresentationMonth, GridAndInitialsFollowTheFirstWeekday) {
    // March 2026 starts on a Sunday.
    const auto mondayFirst = StatsPresentation::monthGrid(berlin.at("2026-03-15T12:00:00"), berlin);
    EXPECT_EQ(mondayFirst.leadingBlanks, 6);
    ASSERT_EQ(mondayFirst.days.size(), 31u);
    EXPECT_EQ(mondayFirst.days.front(), (CivilDay{2026, 3, 1}));
    EXPECT_EQ(mondayFirst.days.back(), (CivilDay{2026, 3, 31}));
    const ZoneCalendar sundayFirst("Europe/Berlin", 1);
    EXPECT_EQ(StatsPresentation::monthGrid(sundayFirst.at("2026-03-15T12:00:00"), sundayFirst).leadingBlanks, 0);
    EXPECT_EQ(StatsPresentation::monthGrid(berlin.at("2028-02-10T12:00:00"), berlin).days.size(), 29u);

    EXPECT_THAT(StatsPresentation::weekdayInitials(berlin), ElementsAre("M", "T", "W", "T", "F", "S", "S"));
    EXPECT_THAT(StatsPresentation::weekdayInitials(sundayFirst), ElementsAre("S", "M", "T", "W", "T", "F", "S"));
}

TEST(StatsPresentationMappings, ScoresToBandsHeightsAndNotes) {
    using namespace StatsPresentation;
    EXPECT_EQ((std::vector{scoreBand(49), scoreBand(50), scoreBand(64), scoreBand(79), scoreBand(80)}),
              (std::vector{0, 1, 1, 2, 3}));
    EXPECT_EQ(weekBarHeight(5), 8.0);
    EXPECT_EQ(ringColorStop(91), 0.91);
    EXPECT_EQ(ringColorStop(130), 1.0);
    EXPECT_EQ(unobservedNote(59), std::nullopt);
    EXPECT_EQ(unobservedNote(60), "1m not watched — the app has no record of it.");
    EXPECT_EQ(unobservedNote(3725), "1h 2m not watched — the app has no record of it.");

    EXPECT_THAT(scoreLines(ScreenScore{100, {}, 120}),
                ElementsAre("No deductions — a perfect day.", "2m not watched — the app has no record of it."));
}

} // namespace
} // namespace sorvala
