// SPDX-License-Identifier: MIT
#include "history/DailyStats.h"
#include "history/DayOffsetCache.h"
#include "history/ReportsPresentation.h"
#include "history/ScreenScore.h"
#include "history/StatsPresentation.h"

#include "support/ZoneCalendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace sorvala {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;
using Outcome = BreakEvent::Outcome;
using Factor = ScreenScore::Factor;
using namespace ReportsPresentation;

const ZoneCalendar berlin("Europe/Berlin");

BreakEvent event(const std::string& local, Outcome outcome, std::optional<double> seconds = std::nullopt,
                 BreakEvent::Kind kind = BreakEvent::Kind::long_) {
    return BreakEvent{berlin.at(local), kind, outcome, seconds};
}

/// `taken` taken breaks at 10:00 and `skipped` skipped ones at 11:00 on `date`.
void addDay(std::vector<BreakEvent>& events, const std::string& date, int taken, int skipped = 0) {
    for (int i = 0; i < taken; ++i)
        events.push_back(event(date + "T10:00:00", Outcome::taken));
    for (int i = 0; i < skipped; ++i)
        events.push_back(event(date + "T11:00:00", Outcome::skipped));
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
    addDay(events, "2026-11-20", 5, 0);
    addDay(events, "2026-11-21", 4, 1); // 0.8 qualifies
    addDay(events, "2026-11-22", 3, 1); // 0.75 does not
    addDay(events, "2026-12-04", 4, 1);
    addDay(events, "2026-12-05", 2, 0);
    addDay(events, "2026-12-06", 9, 0);
    events.push_back(event("2026-12-07T08:00:00", Outcome::postponed)); // today, nothing resolved yet
    const Instant today = berlin.at("2026-12-07T18:00:00");

    EXPECT_EQ(BreakLog::streak(events, today, berlin), 3);
    EXPECT_EQ(BreakLog::streak(events, berlin.at("2026-12-08T09:00:00"), berlin), 0) << "yesterday had no break";
    EXPECT_EQ(BreakLog::streak(events, berlin.at("2026-11-22T20:00:00"), berlin), 0);
    EXPECT_EQ(BreakLog::longestStreak(events, berlin), 3);
    EXPECT_EQ(BreakLog::postponedCount(events, today, berlin), 1);

    addDay(events, "2026-12-07", 1, 1);
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
            addDay(events, berlin.day(today).addingDays(-back).isoText(), 1);
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
            addDay(events, day, 1);
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
    EXPECT_EQ(ringColorStop(130), 1.0);
    EXPECT_EQ(unobservedNote(59), std::nullopt);
    EXPECT_EQ(unobservedNote(60), "1m not watched — the app has no record of it.");
    EXPECT_EQ(unobservedNote(3725), "1h 2m not watched — the app has no record of it.");

    EXPECT_THAT(scoreLines(ScreenScore{100, {}, 120}),
                ElementsAre("No deductions — a perfect day.", "2m not watched — the app has no record of it."));
}

TEST(StatsContent, EmptyHistoryShowsNoScoreZeroStreaksAndFlatBars) {
    const auto content = StatsPresentation::content({}, berlin.at("2026-12-06T15:00:00"), 60, berlin);
    EXPECT_EQ(content.ring.tooltip, "No screen score today — no breaks logged yet");
    EXPECT_THAT(content.scoreLines, ElementsAre("No breaks logged yet today."));
    EXPECT_EQ(content.tiles[0].figure, "0 days");
    EXPECT_EQ(content.week.at(6).tooltip, "0 taken · 0 skipped · 0 snoozed");
    ASSERT_EQ(content.monthDays.size(), 31u);
    EXPECT_THAT(content.monthDays, Each(Field(&StatsPresentation::Content::HeatDay::band, std::nullopt)));
    EXPECT_TRUE(content.monthDays[5].today);
    EXPECT_EQ(content.monthDays[5].tooltip, "Day 6: no score");
}

TEST(StatsContent, WeekAcrossTheMonthStartWithGapsAndAOneDayStreak) {
    // Today is Thursday 3 December; the week reaches back to Friday 27 November.
    const std::vector<BreakEvent> history{
        event("2026-11-27T09:00:00", Outcome::taken, 300.0),
        event("2026-11-27T12:00:00", Outcome::taken, 300.0), // 2h 55m worked in between: -19
        event("2026-11-28T10:00:00", Outcome::skipped),       // a day that breaks the streak
        event("2026-12-02T10:00:00", Outcome::taken, 300.0),
        event("2026-12-02T10:20:00", Outcome::postponed),
        event("2026-12-03T08:00:00", Outcome::postponed),
    };
    const auto content = StatsPresentation::content(history, berlin.at("2026-12-03T09:00:00"), 60, berlin);

    EXPECT_EQ(content.ring.tooltip, "Screen score today: 100 out of 100");
    EXPECT_EQ(content.tiles[0].figure, "1 day"); // yesterday only; today has nothing resolved yet

    ASSERT_EQ(content.week.size(), 7u);
    EXPECT_EQ(content.week[0].counts.day, (CivilDay{2026, 11, 27}));
    EXPECT_DOUBLE_EQ(content.week[0].height, 81 * 56.0 / 100.0);
    EXPECT_EQ(content.week[0].tooltip, "Score 81 · 2 taken · 0 skipped · 0 snoozed");
    EXPECT_EQ(content.week[2].height, 4.0); // a gap
    EXPECT_EQ(content.week[5].tooltip, "Score 100 · 1 taken · 0 skipped · 1 snoozed");

    // Days before the month are in the week but not on the map.
    EXPECT_EQ(content.month, (CivilDay{2026, 12, 1}));
    EXPECT_EQ(content.monthDays[1].tooltip, "Day 2: score 100");
    EXPECT_EQ(content.monthDays[1].band, 3);
    EXPECT_TRUE(content.monthDays[2].today);
}

TEST(ReportsContent, BarsSplitIntoTakenAndSkippedAgainstTheBusiestMonth) {
    std::vector<BreakEvent> history;
    for (int i = 0; i < 3; ++i)
        history.push_back(event("2026-10-0" + std::to_string(i + 1) + "T10:00:00", Outcome::taken, 45.0));
    history.push_back(event("2026-10-05T10:00:00", Outcome::skipped, 30.0));
    for (int i = 0; i < 8; ++i)
        history.push_back(event("2026-11-1" + std::to_string(i) + "T10:00:00",
                                i < 2 ? Outcome::taken : Outcome::skipped, 400.0));

    const auto content = ReportsPresentation::content(history, berlin);
    ASSERT_EQ(content.months.size(), 2u);
    EXPECT_DOUBLE_EQ(content.months[0].takenWidth, 3.0 / 8.0);
    EXPECT_DOUBLE_EQ(content.months[0].skippedWidth, 1.0 / 8.0);
    EXPECT_EQ(content.months[0].tooltip, "3 taken · 1 skipped");
    EXPECT_DOUBLE_EQ(content.months[1].takenWidth + content.months[1].skippedWidth, 1.0);

    EXPECT_EQ(content.extremes.at(1).text, "0% (0/1)");

    // Taken lengths only: three under a minute, two from five to ten minutes.
    ASSERT_EQ(content.buckets.size(), 4u);
    EXPECT_DOUBLE_EQ(content.buckets[2].width, 2.0 / 3.0);
    EXPECT_EQ(content.buckets[1].tooltip, "1–5 min: 0 breaks");
}

TEST(DayOffsetCache, AnswersLikeTheZoneAcrossDaylightSavingChanges) {
    for (const char* zone : {"Europe/Berlin", "Australia/Lord_Howe", "America/St_Johns"}) {
        SCOPED_TRACE(zone);
        const ZoneCalendar calendar(zone);
        const DayOffsetCache cached(calendar);
        // Every 37 minutes through a year, both of its changes included.
        for (double t = 1767225600; t < 1767225600 + 365 * 86400.0; t += 37 * 60) {
            const Instant instant = Instant::fromSecondsSinceEpoch(t);
            ASSERT_EQ(cached.utcOffsetSeconds(instant), calendar.utcOffsetSeconds(instant)) << iso8601(instant);
        }
    }
}

TEST(StatsContent, AgreesWithTheDayByDayFunctionsOverMonthsOfHistory) {
    // Breaks every 25 minutes from 08:00 to 18:00 for 120 days across the October change of
    // clocks, every seventh skipped and every eleventh snoozed.
    std::vector<BreakEvent> history;
    const Instant first = berlin.at("2026-08-10T08:00:00");
    for (int day = 0; day < 120; ++day)
        for (int minute = 0; minute < 600; minute += 25) {
            const auto n = history.size();
            const auto outcome = n % 7 == 0 ? Outcome::skipped : n % 11 == 0 ? Outcome::postponed : Outcome::taken;
            history.push_back({first + day * 86400.0 + minute * 60.0, BreakEvent::Kind::micro, outcome, 20.0});
        }
    const Instant now = berlin.at("2026-10-29T15:00:00");
    const auto content = StatsPresentation::content(history, now, 60, berlin);

    EXPECT_EQ(content.ring.score, ScreenScore::daily(history, now, 60, berlin)->score);
    EXPECT_EQ(content.tiles[0].figure, StatsPresentation::streakText(BreakLog::streak(history, now, berlin)));
    EXPECT_EQ(content.tiles[1].figure, StatsPresentation::streakText(BreakLog::longestStreak(history, berlin)));
    const auto bars = StatsPresentation::dayBars(history, now, berlin);
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(content.week[i].counts, bars[i]);
        const auto score = ScreenScore::daily(history, berlin.startOfDay(bars[i].day) + 3600, 60, berlin);
        EXPECT_EQ(content.week[i].score, score ? std::optional(score->score) : std::nullopt);
    }
    const auto grid = StatsPresentation::monthGrid(now, berlin);
    EXPECT_EQ(content.leadingBlanks, grid.leadingBlanks);
    EXPECT_EQ(content.weekdayInitials, StatsPresentation::weekdayInitials(berlin));
    ASSERT_EQ(content.monthDays.size(), grid.days.size());
    for (const auto& day : content.monthDays) {
        SCOPED_TRACE(day.day.isoText());
        const auto score = ScreenScore::daily(history, berlin.startOfDay(day.day) + 3600, 60, berlin);
        EXPECT_EQ(day.score, score ? std::optional(score->score) : std::nullopt);
    }

    const auto reports = ReportsPresentation::content(history, berlin);
    const auto rows = ReportsPresentation::monthRows(history, berlin);
    ASSERT_EQ(reports.months.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(reports.months[i].row, rows[i]);
    EXPECT_EQ(reports.extremes[0].day, ReportsPresentation::extremeDays(history, berlin)->best);
}

TEST(ReportsMonthRows, OnlyMonthsWithResolvedBreaksAndOnlyTheLastOnes) {
    const std::vector<BreakEvent> sparse{
        event("2026-04-02T10:00:00", Outcome::skipped),     event("2026-01-31T23:30:00", Outcome::taken),
        event("2026-02-10T10:00:00", Outcome::postponed),   event("2026-03-05T10:00:00", Outcome::taken),
        event("2026-04-01T00:10:00", Outcome::taken),       event("2026-04-03T10:00:00", Outcome::skipped),
    };
    EXPECT_EQ(monthRows(sparse, berlin), (std::vector<MonthRow>{{CivilDay{2026, 1, 1}, 1, 0},
                                                              {CivilDay{2026, 3, 1}, 1, 0},
                                                              {CivilDay{2026, 4, 1}, 1, 2}}));
    const MonthRow april{CivilDay{2026, 4, 1}, 1, 2};
    EXPECT_EQ(april.takenPercent(), 33);
    EXPECT_EQ((MonthRow{CivilDay{}, 3, 0}.takenPercent()), 100);
    EXPECT_EQ(april.normalizedWidth(6), 0.5);

    std::vector<BreakEvent> eightMonths;
    for (int month = 1; month <= 8; ++month)
        eightMonths.push_back(event("2026-0" + std::to_string(month) + "-15T10:00:00", Outcome::taken));
    const auto rows = monthRows(eightMonths, berlin);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.front().month, (CivilDay{2026, 3, 1}));
    EXPECT_EQ(rows.back().month, (CivilDay{2026, 8, 1}));
}

TEST(ReportsExtremeDays, RateFirstThenMoreResolvedBreaks) {
    std::vector<BreakEvent> events;
    EXPECT_EQ(extremeDays(events, berlin), std::nullopt);
    addDay(events, "2026-05-01", 2, 0);
    auto extremes = extremeDays(events, berlin);
    ASSERT_TRUE(extremes);
    EXPECT_EQ(extremes->best, extremes->worst);

    addDay(events, "2026-05-02", 5, 0);
    addDay(events, "2026-05-03", 1, 1);
    addDay(events, "2026-05-04", 2, 2);
    events.push_back(event("2026-05-06T10:00:00", Outcome::postponed));
    extremes = extremeDays(events, berlin);
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
    EXPECT_THAT(monthRows(onlyPostponed, berlin), IsEmpty());
    EXPECT_EQ(extremeDays(onlyPostponed, berlin), std::nullopt);
    EXPECT_THAT(durationBuckets(onlyPostponed), IsEmpty());
}

} // namespace
} // namespace sorvala
