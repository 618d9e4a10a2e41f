// SPDX-License-Identifier: MIT
#include "history/DailyStats.h"

namespace sorvala::BreakLog {

std::map<CivilDay, DailyRate> dailyRates(const std::vector<BreakEvent>& events, const Calendar& calendar) {
    std::map<CivilDay, DailyRate> rates;
    for (const auto& event : events) {
        const bool taken = event.outcome == BreakEvent::Outcome::taken;
        if (!taken && event.outcome != BreakEvent::Outcome::skipped)
            continue;
        DailyRate& rate = rates[calendar.day(event.date)];
        ++rate.resolved;
        if (taken)
            ++rate.taken;
    }
    return rates;
}

int streak(const std::vector<BreakEvent>& events, Instant today, const Calendar& calendar) {
    const auto rates = dailyRates(events, calendar);
    const CivilDay first = calendar.day(today);
    int count = 0;
    for (CivilDay day = first;; day = day.addingDays(-1)) {
        const auto found = rates.find(day);
        if (found == rates.end()) {
            if (count > 0 || day != first)
                return count;
            continue; // nothing resolved yet today
        }
        if (!found->second.qualifies())
            return count;
        ++count;
    }
}

int streakFromRecent(const std::function<std::vector<BreakEvent>(Instant from)>& eventsSince, Instant today,
                     const Calendar& calendar) {
    for (int days = 8;; days *= 4) {
        const Instant from = calendar.startOfDay(calendar.day(today).addingDays(-days));
        const int found = streak(eventsSince(from), today, calendar);
        // Shorter than the days read: the day that ended it was among them.
        if (found < days)
            return found;
    }
}

int longestStreak(const std::vector<BreakEvent>& events, const Calendar& calendar) {
    int longest = 0;
    int run = 0;
    std::optional<CivilDay> previous;
    for (const auto& [day, rate] : dailyRates(events, calendar)) { // days ascending
        if (!rate.qualifies()) {
            run = 0;
            previous.reset();
            continue;
        }
        run = previous && previous->addingDays(1) == day ? run + 1 : 1;
        previous = day;
        longest = std::max(longest, run);
    }
    return longest;
}

int postponedCount(const std::vector<BreakEvent>& events, Instant on, const Calendar& calendar) {
    const CivilDay day = calendar.day(on);
    int count = 0;
    for (const auto& event : events)
        if (event.outcome == BreakEvent::Outcome::postponed && calendar.day(event.date) == day)
            ++count;
    return count;
}

} // namespace sorvala::BreakLog
