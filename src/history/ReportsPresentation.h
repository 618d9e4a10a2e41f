// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/Calendar.h"
#include "core/CivilDay.h"
#include "i18n/I18n.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala::ReportsPresentation {

/// The resolved breaks of one calendar month.
struct MonthRow {
    CivilDay month; ///< the first day of the month
    int taken = 0;
    int skipped = 0;

    int resolved() const { return taken + skipped; }
    /// Share of resolved breaks taken, rounded down.
    int takenPercent() const { return taken * 100 / std::max(resolved(), 1); }
    /// The bar's length against the busiest month; 0 when there is none.
    double normalizedWidth(int maximumResolved) const {
        return maximumResolved < 1 ? 0.0 : double(resolved()) / double(maximumResolved);
    }
    bool operator==(const MonthRow&) const = default;
};

/// The resolved breaks of one day that has at least one.
struct DayExtreme {
    CivilDay day;
    int taken = 0;
    int resolved = 1;

    int takenPercent() const { return taken * 100 / resolved; }
    bool operator==(const DayExtreme&) const = default;
};

/// The best and the worst day of the history (the same day when only one is rated).
struct Extremes {
    DayExtreme best;
    DayExtreme worst;
    bool operator==(const Extremes&) const = default;
};

/// One range of break lengths and how many taken breaks fell in it.
struct DurationBucket {
    std::string name;
    int count = 0;

    double normalizedWidth(int maximumCount) const {
        return maximumCount < 1 ? 0.0 : double(count) / double(maximumCount);
    }
    bool operator==(const DurationBucket&) const = default;
};

/// Texts shown as they are, each translated where it is shown.
inline constexpr std::string_view noMonthsText = I18N_NOOP("No breaks recorded yet.");
inline constexpr std::string_view noExtremesText = I18N_NOOP("No resolved breaks yet.");
inline constexpr std::string_view noDurationsText = I18N_NOOP("No recorded break lengths yet.");
inline constexpr std::string_view monthlyTrendsCaption = I18N_NOOP("Monthly Trends");
inline constexpr std::string_view extremesCaption = I18N_NOOP("Best & Worst Days");
inline constexpr std::string_view breakLengthsCaption = I18N_NOOP("Break Lengths");
inline constexpr std::string_view exportButtonText = I18N_NOOP("Export CSV…");
/// The name the save dialog proposes for the CSV export.
inline constexpr std::string_view exportFileName = "sorvala-breaks.csv";

/// The last `limit` months with a resolved break, oldest first; months without one are left out.
std::vector<MonthRow> monthRows(const std::vector<BreakEvent>& events, const Calendar& calendar, int limit = 6);

/// The days with the highest and the lowest share taken, more resolved breaks winning a tie;
/// nullopt without a resolved break.
std::optional<Extremes> extremeDays(const std::vector<BreakEvent>& events, const Calendar& calendar);

/// How long taken breaks lasted, in four ranges; empty when no taken break has a length.
std::vector<DurationBucket> durationBuckets(const std::vector<BreakEvent>& events);

/// "3 taken · 1 skipped".
std::string monthTooltip(const MonthRow& row);
/// "80% (4/5)".
std::string extremeText(const DayExtreme& day);
/// "Under 1 min: 1 break".
std::string bucketTooltip(const DurationBucket& bucket);

/// Everything the reports window shows; an empty list stands for its section's empty-state text.
struct Content {
    /// One month's bar: the taken and skipped parts as shares of the busiest month's length.
    struct Month {
        MonthRow row;
        double takenWidth = 0;
        double skippedWidth = 0;
        std::string tooltip;
        std::string percentText; ///< "75%"
        int band = 0;            ///< colour band of the percentage
    };
    /// The best or the worst day.
    struct Extreme {
        std::string title; ///< "Best" or "Worst"
        DayExtreme day;
        std::string text; ///< "80% (4/5)"
        int band = 0;
    };
    /// One range of break lengths.
    struct Bucket {
        DurationBucket bucket;
        double width = 0;
        std::string tooltip;
        std::string countText;
    };

    std::vector<Month> months;
    std::vector<Extreme> extremes; ///< none, or best then worst
    std::vector<Bucket> buckets;
};

/// The reports window's rows for the whole history.
Content content(const std::vector<BreakEvent>& events, const Calendar& calendar);

} // namespace sorvala::ReportsPresentation
