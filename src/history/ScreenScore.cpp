// SPDX-License-Identifier: MIT
#include "history/ScreenScore.h"

#include "i18n/I18n.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace sorvala {

namespace {

double restLength(const BreakEvent& event, double intervalSeconds) {
    const double length = std::max(event.durationSeconds.value_or(0.0), 0.0);
    return event.outcome == BreakEvent::Outcome::excused ? std::min(length, intervalSeconds) : length;
}

bool isAnchor(BreakEvent::Outcome outcome) {
    return outcome == BreakEvent::Outcome::taken || outcome == BreakEvent::Outcome::asleep ||
           outcome == BreakEvent::Outcome::unobserved;
}

} // namespace

std::string ScreenScore::durationText(long long seconds) {
    const long long minutes = seconds / 60;
    if (seconds < 3600)
        // TRANSLATORS: a short length of time; m abbreviates minutes.
        return i18nc("duration", "%1m", minutes);
    // TRANSLATORS: a short length of time; h and m abbreviate hours and minutes.
    return i18nc("duration", "%1h %2m", minutes / 60, minutes % 60);
}

double ScreenScore::restSeconds(const std::vector<BreakEvent>& dayEvents, Instant from, Instant to,
                                double intervalSeconds) {
    std::vector<std::pair<Instant, Instant>> spans;
    spans.reserve(dayEvents.size());
    for (const auto& event : dayEvents) {
        const Instant start = std::max(event.date - restLength(event, intervalSeconds), from);
        const Instant end = std::min(event.date, to);
        if (start < end)
            spans.emplace_back(start, end);
    }
    std::sort(spans.begin(), spans.end());
    double rest = 0;
    Instant cursor = from;
    for (const auto& [start, end] : spans) {
        if (end > cursor) {
            rest += end - std::max(start, cursor);
            cursor = end;
        }
    }
    return rest;
}

std::optional<ScreenScore> ScreenScore::ofDay(std::vector<BreakEvent> dayEvents, int intervalMinutes) {
    if (dayEvents.empty())
        return std::nullopt;
    std::stable_sort(dayEvents.begin(), dayEvents.end(),
                     [](const BreakEvent& a, const BreakEvent& b) { return a.date < b.date; });
    const double interval = std::max(intervalMinutes, 1) * 60.0;

    std::vector<Instant> anchors{dayEvents.front().date};
    for (const auto& event : dayEvents)
        if (isAnchor(event.outcome))
            anchors.push_back(event.date);
    anchors.push_back(dayEvents.back().date);

    ScreenScore result;
    for (std::size_t i = 1; i < anchors.size(); ++i) {
        const double worked = (anchors[i] - anchors[i - 1]) - restSeconds(dayEvents, anchors[i - 1], anchors[i], interval);
        if (worked <= interval)
            continue;
        const int points = static_cast<int>(std::trunc((worked - interval) / interval * 10.0));
        if (points > 0)
            result.factors.push_back(
                // TRANSLATORS: %1 is a length of time such as "1h 5m".
                {i18n("Spent %1 without a break", durationText(static_cast<long long>(worked))), -points});
    }

    int skipped = 0;
    for (const auto& event : dayEvents) {
        if (event.outcome == BreakEvent::Outcome::skipped)
            ++skipped;
        if (event.outcome == BreakEvent::Outcome::unobserved)
            result.unobservedSeconds += std::max(event.durationSeconds.value_or(0.0), 0.0);
    }
    if (skipped > 0)
        result.factors.push_back(
            {i18np("Skipped %1 break", "Skipped %1 breaks", skipped), -5 * skipped});

    int total = 100;
    for (const auto& factor : result.factors)
        total += factor.points;
    result.score = std::max(0, total);
    return result;
}

ScreenScore::DayBuckets ScreenScore::bucketByDay(const std::vector<BreakEvent>& events, const Calendar& calendar) {
    DayBuckets buckets;
    for (const auto& event : events)
        buckets[calendar.day(event.date)].push_back(event);
    return buckets;
}

std::optional<ScreenScore> ScreenScore::daily(const DayBuckets& bucket, CivilDay day, int intervalMinutes) {
    const auto found = bucket.find(day);
    if (found == bucket.end())
        return std::nullopt;
    return ofDay(found->second, intervalMinutes);
}

std::optional<ScreenScore> ScreenScore::daily(const DayBuckets& bucket, Instant on, int intervalMinutes,
                                              const Calendar& calendar) {
    return daily(bucket, calendar.day(on), intervalMinutes);
}

std::optional<ScreenScore> ScreenScore::daily(const std::vector<BreakEvent>& events, Instant on, int intervalMinutes,
                                              const Calendar& calendar) {
    const CivilDay day = calendar.day(on);
    std::vector<BreakEvent> dayEvents;
    for (const auto& event : events)
        if (calendar.day(event.date) == day)
            dayEvents.push_back(event);
    return ofDay(std::move(dayEvents), intervalMinutes);
}

} // namespace sorvala
