// SPDX-License-Identifier: MIT
#include "history/ReportsPresentation.h"

#include "history/DailyStats.h"
#include "history/DayOffsetCache.h"
#include "history/StatsPresentation.h"

#include <limits>
#include <map>

namespace sorvala::ReportsPresentation {

namespace {

struct BucketRange {
    const char* name;
    double lower;
    double upper;
};

constexpr BucketRange bucketRanges[] = {
    {I18NC_NOOP("break length", "Under 1 min"), 0, 60},
    {I18NC_NOOP("break length", "1–5 min"), 60, 300},
    {I18NC_NOOP("break length", "5–10 min"), 300, 600},
    {I18NC_NOOP("break length", "Over 10 min"), 600, std::numeric_limits<double>::infinity()},
};

double rate(const DayExtreme& day) {
    return double(day.taken) / double(day.resolved);
}

} // namespace

std::vector<MonthRow> monthRows(const std::vector<BreakEvent>& events, const Calendar& calendar, int limit) {
    std::map<CivilDay, MonthRow> months;
    for (const auto& event : events) {
        const bool taken = event.outcome == BreakEvent::Outcome::taken;
        if (!taken && event.outcome != BreakEvent::Outcome::skipped)
            continue;
        const CivilDay day = calendar.day(event.date);
        const CivilDay month{day.year, day.month, 1};
        MonthRow& row = months.try_emplace(month, MonthRow{month}).first->second;
        ++(taken ? row.taken : row.skipped);
    }
    std::vector<MonthRow> rows;
    const auto kept = static_cast<std::size_t>(std::max(limit, 0));
    std::size_t skip = months.size() > kept ? months.size() - kept : 0;
    for (const auto& [month, row] : months) {
        if (skip > 0) {
            --skip;
            continue;
        }
        rows.push_back(row);
    }
    return rows;
}

std::optional<Extremes> extremeDays(const std::vector<BreakEvent>& events, const Calendar& calendar) {
    std::optional<Extremes> extremes;
    for (const auto& [day, dailyRate] : BreakLog::dailyRates(events, calendar)) {
        const DayExtreme candidate{day, dailyRate.taken, dailyRate.resolved};
        if (!extremes) {
            extremes = Extremes{candidate, candidate};
            continue;
        }
        const auto better = [&](const DayExtreme& kept, bool higher) {
            const double a = rate(candidate), b = rate(kept);
            if (a != b)
                return higher ? a > b : a < b;
            return candidate.resolved > kept.resolved;
        };
        if (better(extremes->best, true))
            extremes->best = candidate;
        if (better(extremes->worst, false))
            extremes->worst = candidate;
    }
    return extremes;
}

std::vector<DurationBucket> durationBuckets(const std::vector<BreakEvent>& events) {
    std::vector<DurationBucket> buckets;
    for (const auto& range : bucketRanges)
        buckets.push_back(DurationBucket{i18nc("break length", range.name), 0});
    bool anyDuration = false;
    for (const auto& event : events) {
        if (event.outcome != BreakEvent::Outcome::taken || !event.durationSeconds)
            continue;
        anyDuration = true;
        const double seconds = *event.durationSeconds;
        for (std::size_t i = 0; i < std::size(bucketRanges); ++i)
            if (bucketRanges[i].lower <= seconds && seconds < bucketRanges[i].upper)
                ++buckets[i].count;
    }
    if (!anyDuration)
        buckets.clear();
    return buckets;
}

std::string monthTooltip(const MonthRow& row) {
    return i18n("%1 taken · %2 skipped", row.taken, row.skipped);
}

std::string extremeText(const DayExtreme& day) {
    return std::to_string(day.takenPercent()) + "% (" + std::to_string(day.taken) + "/" +
           std::to_string(day.resolved) + ")";
}

std::string bucketTooltip(const DurationBucket& bucket) {
    // TRANSLATORS: %2 is a range of break lengths, such as "1–5 min".
    return i18np("%2: %1 break", "%2: %1 breaks", bucket.count, bucket.name);
}

Content content(const std::vector<BreakEvent>& events, const Calendar& zone) {
    const DayOffsetCache calendar(zone);
    Content content;
    const auto rows = monthRows(events, calendar);
    int busiest = 0;
    for (const auto& row : rows)
        busiest = std::max(busiest, row.resolved());
    for (const auto& row : rows) {
        const double width = row.normalizedWidth(busiest);
        const double takenShare = row.resolved() > 0 ? double(row.taken) / double(row.resolved()) : 0.0;
        content.months.push_back({row, width * takenShare, width * (1.0 - takenShare), monthTooltip(row),
                                  std::to_string(row.takenPercent()) + "%",
                                  StatsPresentation::scoreBand(row.takenPercent())});
    }

    if (const auto extremes = extremeDays(events, calendar)) {
        for (const auto& [title, day] : {std::pair{i18nc("day of the history", "Best"), extremes->best},
                                         std::pair{i18nc("day of the history", "Worst"), extremes->worst}})
            content.extremes.push_back({title, day, extremeText(day), StatsPresentation::scoreBand(day.takenPercent())});
    }

    const auto buckets = durationBuckets(events);
    int largest = 0;
    for (const auto& bucket : buckets)
        largest = std::max(largest, bucket.count);
    for (const auto& bucket : buckets)
        content.buckets.push_back(
            {bucket, bucket.normalizedWidth(largest), bucketTooltip(bucket), std::to_string(bucket.count)});
    return content;
}

} // namespace sorvala::ReportsPresentation
