// SPDX-License-Identifier: MIT
#include "history/DailyStats.h"
#include "history/DayOffsetCache.h"
#include "history/ReportsPresentation.h"
#include "history/StatsPresentation.h"

#include "support/ZoneCalendar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorvala {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Field;
using Outcome = BreakEvent::Outcome;

const ZoneCalendar berlin("Europe/Berlin");

BreakEvent event(const std::string& local, Outcome outcome, std::optional<double> seconds = std::nullopt) {
    return BreakEvent{berlin.at(local), BreakEvent::Kind::long_, outcome, seconds};
}

TEST(StatsContent, EmptyHistoryShowsNoScoreZeroStreaksAndFlatBars) {
    const auto content = StatsPresentation::content({}, berlin.at("2026-12-06T15:00:00"), 60, berlin);
    EXPECT_EQ(content.ring.score, std::nullopt);
    EXPECT_EQ(content.ring.band, std::nullopt);
    EXPECT_EQ(content.ring.tooltip, "No screen score today — no breaks logged yet");
    EXPECT_THAT(content.scoreLines, ElementsAre("No breaks logged yet today."));
    EXPECT_EQ(content.tiles[0].figure, "0 days");
    EXPECT_EQ(content.tiles[1].figure, "0 days");
    ASSERT_EQ(content.week.size(), 7u);
    for (const auto& bar : content.week) {
        EXPECT_EQ(bar.height, 4.0);
        EXPECT_EQ(bar.band, std::nullopt);
        EXPECT_EQ(bar.tooltip, "0 taken · 0 skipped · 0 snoozed");
    }
    ASSERT_EQ(content.monthDays.size(), 31u);
    EXPECT_THAT(content.monthDays, Each(Field(&StatsPresentation::Content::HeatDay::band, std::nullopt)));
    EXPECT_EQ(std::count_if(content.monthDays.begin(), content.monthDays.end(), [](auto& d) { return d.today; }), 1);
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

    EXPECT_EQ(content.ring.score, 100);
    EXPECT_EQ(content.ring.band, 3);
    EXPECT_EQ(content.ring.tooltip, "Screen score today: 100 out of 100");
    EXPECT_THAT(content.scoreLines, ElementsAre("No deductions — a perfect day."));
    EXPECT_EQ(content.tiles[0].figure, "1 day"); // yesterday only; today has nothing resolved yet
    EXPECT_EQ(content.tiles[1].figure, "1 day");

    ASSERT_EQ(content.week.size(), 7u);
    EXPECT_EQ(content.week[0].counts.day, (CivilDay{2026, 11, 27}));
    EXPECT_EQ(content.week[0].score, 81);
    EXPECT_EQ(content.week[0].band, 3);
    EXPECT_DOUBLE_EQ(content.week[0].height, 81 * 56.0 / 100.0);
    EXPECT_EQ(content.week[0].tooltip, "Score 81 · 2 taken · 0 skipped · 0 snoozed");
    EXPECT_EQ(content.week[1].score, 95);
    EXPECT_EQ(content.week[2].score, std::nullopt); // a gap
    EXPECT_EQ(content.week[2].height, 4.0);
    EXPECT_EQ(content.week[2].tooltip, "0 taken · 0 skipped · 0 snoozed");
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
    EXPECT_EQ(content.months[0].percentText, "75%");
    EXPECT_EQ(content.months[0].band, 2);
    EXPECT_EQ(content.months[0].tooltip, "3 taken · 1 skipped");
    EXPECT_DOUBLE_EQ(content.months[1].takenWidth + content.months[1].skippedWidth, 1.0);
    EXPECT_EQ(content.months[1].percentText, "25%");
    EXPECT_EQ(content.months[1].band, 0);

    ASSERT_EQ(content.extremes.size(), 2u);
    EXPECT_EQ(content.extremes[0].title, "Best");
    EXPECT_EQ(content.extremes[0].text, "100% (1/1)");
    EXPECT_EQ(content.extremes[0].band, 3);
    EXPECT_EQ(content.extremes[1].title, "Worst");
    EXPECT_EQ(content.extremes[1].text, "0% (0/1)");

    // Taken lengths only: three under a minute, two from five to ten minutes.
    ASSERT_EQ(content.buckets.size(), 4u);
    EXPECT_EQ(content.buckets[0].countText, "3");
    EXPECT_EQ(content.buckets[0].width, 1.0);
    EXPECT_DOUBLE_EQ(content.buckets[2].width, 2.0 / 3.0);
    EXPECT_EQ(content.buckets[1].width, 0.0);
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

} // namespace
} // namespace sorvala
