// SPDX-License-Identifier: MIT
#include "history/StatsPresentation.h"

#include "history/DailyStats.h"
#include "history/DayOffsetCache.h"

#include <algorithm>

namespace sorvala::StatsPresentation {

std::vector<DayBar> dayBars(const std::vector<BreakEvent>& events, Instant endingOn, const Calendar& calendar) {
    const CivilDay last = calendar.day(endingOn);
    const CivilDay first = last.addingDays(-6);
    std::vector<DayBar> bars;
    for (int i = 0; i < 7; ++i)
        bars.push_back(DayBar{first.addingDays(i)});
    for (const auto& event : events) {
        const CivilDay day = calendar.day(event.date);
        if (day < first || day > last)
            continue;
        DayBar& bar = bars[static_cast<std::size_t>(day.daysSinceEpoch() - first.daysSinceEpoch())];
        switch (event.outcome) {
        case BreakEvent::Outcome::taken: ++bar.taken; break;
        case BreakEvent::Outcome::skipped: ++bar.skipped; break;
        case BreakEvent::Outcome::postponed: ++bar.postponed; break;
        case BreakEvent::Outcome::excused:
        case BreakEvent::Outcome::asleep:
        case BreakEvent::Outcome::unobserved: break;
        }
    }
    return bars;
}

MonthGrid monthGrid(Instant containing, const Calendar& calendar) {
    const CivilDay day = calendar.day(containing);
    const CivilDay first{day.year, day.month, 1};
    MonthGrid grid;
    grid.leadingBlanks = (first.weekday() - calendar.firstWeekday() + 7) % 7;
    const int length = CivilDay::daysInMonth(day.year, day.month);
    for (int i = 0; i < length; ++i)
        grid.days.push_back(first.addingDays(i));
    return grid;
}

std::vector<std::string> weekdayInitials(const Calendar& calendar) {
    std::vector<std::string> symbols = calendar.veryShortWeekdaySymbols();
    if (symbols.size() != 7)
        symbols = Calendar::defaultVeryShortWeekdaySymbols();
    const int shift = std::clamp(calendar.firstWeekday(), 1, 7) - 1;
    std::rotate(symbols.begin(), symbols.begin() + shift, symbols.end());
    return symbols;
}

int scoreBand(int score) {
    if (score < 50)
        return 0;
    if (score < 65)
        return 1;
    if (score < 80)
        return 2;
    return 3;
}

double weekBarHeight(std::optional<int> score) {
    if (!score)
        return 4.0;
    return std::max(std::clamp(*score, 0, 100) * 56.0 / 100.0, 8.0);
}

double ringColorStop(int score) {
    return std::clamp(score, 0, 100) / 100.0;
}

std::optional<std::string> unobservedNote(double seconds) {
    if (!(seconds >= 60))
        return std::nullopt;
    // A hand-edited history may claim any length; keep the cast in range.
    const auto minutes = static_cast<long long>(std::min(seconds / 60, 1e15));
    // TRANSLATORS: %1 is a length of time such as "1h 5m".
    return i18n("%1 not watched — the app has no record of it.", ScreenScore::durationText(minutes * 60));
}

std::string scoreTooltip(const std::optional<ScreenScore>& today) {
    if (!today)
        return i18n("No screen score today — no breaks logged yet");
    return i18n("Screen score today: %1 out of 100", today->score);
}

std::vector<std::string> scoreLines(const std::optional<ScreenScore>& today) {
    if (!today)
        return {i18n("No breaks logged yet today.")};
    std::vector<std::string> lines;
    for (const auto& factor : today->factors)
        lines.push_back(factor.label);
    if (lines.empty())
        lines.push_back(i18n("No deductions — a perfect day."));
    if (auto note = unobservedNote(today->unobservedSeconds))
        lines.push_back(*note);
    return lines;
}

std::string streakText(int days) {
    return i18np("%1 day", "%1 days", days);
}

std::string dayBarTooltip(const DayBar& bar, std::optional<int> score) {
    // TRANSLATORS: counts of the day's breaks.
    std::string counts = i18n("%1 taken · %2 skipped · %3 snoozed", bar.taken, bar.skipped, bar.postponed);
    if (!score)
        return counts;
    // TRANSLATORS: %1 is the day's screen score, %2 the counts of its breaks.
    return i18n("Score %1 · %2", *score, counts);
}

std::string heatDayTooltip(int dayOfMonth, std::optional<int> score) {
    // TRANSLATORS: %1 is the day of the month, %2 its screen score.
    return score ? i18n("Day %1: score %2", dayOfMonth, *score) : i18n("Day %1: no score", dayOfMonth);
}

namespace {

std::optional<int> bandOf(const std::optional<ScreenScore>& score) {
    return score ? std::optional<int>(scoreBand(score->score)) : std::nullopt;
}

std::optional<int> scoreOf(const std::optional<ScreenScore>& score) {
    return score ? std::optional<int>(score->score) : std::nullopt;
}

/// The days from the earlier of the week's first day and the month's first day, by day; the rest
/// of the history is not needed to score them.
ScreenScore::DayBuckets recentBuckets(const std::vector<BreakEvent>& events, CivilDay from, const Calendar& calendar) {
    // Comparing instants first spares the zone lookup for the years of history before `from`.
    const Instant earliest = calendar.startOfDay(from);
    ScreenScore::DayBuckets buckets;
    for (const auto& event : events) {
        if (event.date < earliest)
            continue;
        const CivilDay day = calendar.day(event.date);
        if (day >= from)
            buckets[day].push_back(event);
    }
    return buckets;
}

} // namespace

Content content(const std::vector<BreakEvent>& events, Instant now, int intervalMinutes, const Calendar& zone) {
    const DayOffsetCache calendar(zone);
    const CivilDay today = calendar.day(now);
    const MonthGrid grid = monthGrid(now, calendar);
    const CivilDay from = std::min(today.addingDays(-6), grid.days.front());
    const auto buckets = recentBuckets(events, from, calendar);
    const auto scoreOn = [&](CivilDay day) { return ScreenScore::daily(buckets, day, intervalMinutes); };

    Content content;
    const auto todayScore = scoreOn(today);
    content.ring = {scoreOf(todayScore), bandOf(todayScore), todayScore ? ringColorStop(todayScore->score) : 0.0,
                    scoreTooltip(todayScore)};
    content.scoreLines = scoreLines(todayScore);
    content.tiles = {Content::Tile{i18n(currentStreakTitle.data()), streakText(BreakLog::streak(events, now, calendar))},
                     Content::Tile{i18n(longestStreakTitle.data()), streakText(BreakLog::longestStreak(events, calendar))}};

    std::vector<BreakEvent> weekEvents;
    for (const auto& [day, dayEvents] : buckets)
        if (day >= today.addingDays(-6) && day <= today)
            weekEvents.insert(weekEvents.end(), dayEvents.begin(), dayEvents.end());
    for (const DayBar& bar : dayBars(weekEvents, now, calendar)) {
        const auto score = scoreOn(bar.day);
        content.week.push_back({bar, scoreOf(score), bandOf(score), weekBarHeight(scoreOf(score)),
                                dayBarTooltip(bar, scoreOf(score))});
    }

    content.month = grid.days.front();
    content.weekdayInitials = weekdayInitials(calendar);
    content.leadingBlanks = grid.leadingBlanks;
    for (const CivilDay day : grid.days) {
        const auto score = scoreOn(day);
        content.monthDays.push_back({day, scoreOf(score), bandOf(score), day == today,
                                     heatDayTooltip(day.day, scoreOf(score))});
    }
    return content;
}

} // namespace sorvala::StatsPresentation
