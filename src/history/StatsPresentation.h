// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/Calendar.h"
#include "core/CivilDay.h"
#include "history/ScreenScore.h"
#include "i18n/I18n.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala::StatsPresentation {

/// The counts behind one bar of the week view.
struct DayBar {
    CivilDay day;
    int taken = 0;
    int skipped = 0;
    int postponed = 0;

    int total() const { return taken + skipped + postponed; }
    bool operator==(const DayBar&) const = default;
};

/// One month laid out in weeks: blank cells before the first day, then every day in order.
struct MonthGrid {
    int leadingBlanks = 0; ///< 0 to 6
    std::vector<CivilDay> days;
};

/// The seven days ending on the local day of `endingOn`, oldest first.
std::vector<DayBar> dayBars(const std::vector<BreakEvent>& events, Instant endingOn, const Calendar& calendar);

/// The month containing the local day of `containing`, its first week starting on the calendar's first weekday.
MonthGrid monthGrid(Instant containing, const Calendar& calendar);

/// The seven one-letter weekday names, starting with the calendar's first weekday.
std::vector<std::string> weekdayInitials(const Calendar& calendar);

/// The colour band of a score: 0 below 50, 1 up to 64, 2 up to 79, 3 from 80.
int scoreBand(int score);
/// The height in points of a day's bar: 4 without a score, else the score's share of 56, at least 8.
double weekBarHeight(std::optional<int> score);
/// Where on the ring's colour ramp a score sits, 0 to 1.
double ringColorStop(int score);
/// "1h 2m not watched — the app has no record of it." for a minute or more of unobserved time.
std::optional<std::string> unobservedNote(double seconds);

/// The tooltip of today's ring.
std::string scoreTooltip(const std::optional<ScreenScore>& today);
/// The lines under the ring: one per deduction, a perfect-day or no-breaks line, then the unobserved note.
std::vector<std::string> scoreLines(const std::optional<ScreenScore>& today);
/// "1 day", "3 days": a streak tile's figure.
std::string streakText(int days);
/// A week bar's tooltip: "Score 91 · 3 taken · 1 skipped · 0 snoozed", without the score part when there is none.
std::string dayBarTooltip(const DayBar& bar, std::optional<int> score);
/// A month cell's tooltip: "Day 5: score 91" or "Day 5: no score".
std::string heatDayTooltip(int dayOfMonth, std::optional<int> score);

/// Texts shown as they are, each translated where it is shown.
inline constexpr std::string_view scoreCaption = I18N_NOOP("Screen score today");
inline constexpr std::string_view currentStreakTitle = I18N_NOOP("Current streak");
inline constexpr std::string_view longestStreakTitle = I18N_NOOP("Longest streak");
inline constexpr std::string_view weekCaption = I18N_NOOP("Last 7 days");
inline constexpr std::string_view legendHighText = I18N_NOOP("High");
inline constexpr std::string_view legendNote = I18N_NOOP("Day color = that day's screen score · today is ringed");

/// Everything the stats view shows at one moment, in the order it shows it.
struct Content {
    /// Today's score ring.
    struct Ring {
        std::optional<int> score;
        std::optional<int> band; ///< the score's colour band; none without a score
        double colorStop = 0;
        std::string tooltip;
    };
    /// A streak tile: its title and its figure ("3 days").
    struct Tile {
        std::string title;
        std::string figure;
    };
    /// One bar of the week: height in points, colour band and tooltip.
    struct Bar {
        DayBar counts;
        std::optional<int> score;
        std::optional<int> band;
        double height = 4.0;
        std::string tooltip;
    };
    /// One cell of the month heat map.
    struct HeatDay {
        CivilDay day;
        std::optional<int> score;
        std::optional<int> band;
        bool today = false;
        std::string tooltip;
    };

    Ring ring;
    std::vector<std::string> scoreLines;
    std::array<Tile, 2> tiles;
    std::vector<Bar> week;
    CivilDay month; ///< the first day of the month shown
    std::vector<std::string> weekdayInitials;
    int leadingBlanks = 0;
    std::vector<HeatDay> monthDays;
};

/// The stats view for `now`: today's score against `intervalMinutes`, the streaks, the week ending
/// today and today's month. Only the days the week and the month show are scored.
Content content(const std::vector<BreakEvent>& events, Instant now, int intervalMinutes, const Calendar& calendar);

} // namespace sorvala::StatsPresentation
