// SPDX-License-Identifier: MIT
#include "HistoryCommand.h"

#include "QtCommand.h"

#include "app/SettingsSchema.h"
#include "core/BreakSchedule.h"
#include "core/Clock.h"
#include "core/FileWriting.h"
#include "history/BreakLog.h"
#include "history/DailyStats.h"
#include "history/ReportsPresentation.h"
#include "history/ScreenScore.h"
#include "history/StatsPresentation.h"
#include "i18n/I18n.h"
#include "platform/QSettingsPreferencesStore.h"
#include "platform/calendar/SystemCalendar.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>
#include <map>
#include <set>

namespace sorvala::ctl {

namespace {

// TRANSLATORS: the command, its options and YYYY-MM-DD, PATH, FILE, TZ stay as they are.
constexpr const char* usage = I18N_NOOP("usage: sorvalactl history stats [--date YYYY-MM-DD] [--json] [--file PATH]\n"
    "       sorvalactl history report [--json] [--file PATH]\n"
    "       sorvalactl history export [--output FILE] [--file PATH]\n"
    "\n"
    "  stats   the day's screen score and its deductions, the streaks and the last seven days\n"
    "          (today unless --date names another day)\n"
    "  report  monthly trends, the best and the worst day, and how long breaks lasted\n"
    "  export  every event as CSV, to standard output or written whole to --output FILE\n"
    "  --file  read this history file instead of the user's\n"
    "Days and times are in the local time zone (TZ is honoured).\n");

constexpr const char* weekdayNames[] = {I18NC_NOOP("weekday", "Sun"), I18NC_NOOP("weekday", "Mon"),
                                        I18NC_NOOP("weekday", "Tue"), I18NC_NOOP("weekday", "Wed"),
                                        I18NC_NOOP("weekday", "Thu"), I18NC_NOOP("weekday", "Fri"),
                                        I18NC_NOOP("weekday", "Sat")};

struct Options {
    std::string action;
    std::optional<CivilDay> date;
    bool json = false;
    std::optional<std::string> output;
    std::optional<std::string> file;
};

std::optional<CivilDay> parseDay(std::string_view text) {
    if (text.size() != 10)
        return std::nullopt;
    const auto midnight = parseIso8601(std::string(text) + "T00:00:00Z");
    if (!midnight)
        return std::nullopt;
    const auto days = static_cast<std::int64_t>(midnight->secondsSinceEpoch() / 86400);
    return CivilDay::fromDaysSinceEpoch(days);
}

/// Reads the options of `action`; answers the one-line error for anything it does not accept.
std::optional<std::string> parse(const std::vector<std::string>& args, Options& options) {
    if (args.empty())
        return i18n("history needs stats, report or export (see sorvalactl history --help)");
    options.action = args.front();
    if (options.action != "stats" && options.action != "report" && options.action != "export")
        return i18n("unknown history command '%1' (see sorvalactl history --help)", options.action);
    const std::map<std::string, std::set<std::string>> accepted = {
        {"stats", {"--date", "--json", "--file"}},
        {"report", {"--json", "--file"}},
        {"export", {"--output", "--file"}},
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!accepted.at(options.action).count(arg))
            // TRANSLATORS: %1 is stats, report or export; %2 an option.
            return i18n("history %1 does not take '%2'", options.action, arg);
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].empty())
            // TRANSLATORS: %1 is an option such as --date.
            return i18n("%1 needs a value", arg);
        const std::string& value = args[++i];
        if (arg == "--date") {
            options.date = parseDay(value);
            if (!options.date)
                return i18n("--date wants a day as YYYY-MM-DD, not '%1'", value);
        } else if (arg == "--output") {
            options.output = value;
        } else {
            options.file = value;
        }
    }
    return std::nullopt;
}

std::string dayText(CivilDay day) {
    return day.isoText() + " " + i18nc("weekday", weekdayNames[day.weekday() - 1]);
}

/// Characters, not bytes, so "1–5 min" lines up with the others.
std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string monthText(CivilDay month) {
    return month.isoText().substr(0, 7);
}

/// The overtime limit of the user's current schedule, the interval the score is measured against.
int scoreIntervalMinutes(Logger& log) {
    QSettingsPreferencesStore store(log);
    SettingsSchema::registerDefaults(store);
    return BreakSchedule::stored(store).overtimeLimitMinutes();
}

int stats(const Invocation& invocation, const Options& options, const std::vector<BreakEvent>& events,
          const Calendar& calendar, Logger& log) {
    const CivilDay day = options.date.value_or(calendar.day(SystemClock().now()));
    const Instant on = calendar.startOfDay(day);
    const int interval = scoreIntervalMinutes(log);
    const auto score = ScreenScore::daily(events, on, interval, calendar);
    const int current = BreakLog::streak(events, on, calendar);
    const int longest = BreakLog::longestStreak(events, calendar);
    const auto bars = StatsPresentation::dayBars(events, on, calendar);

    if (options.json) {
        nlohmann::ordered_json factors = nlohmann::ordered_json::array();
        if (score)
            for (const auto& factor : score->factors)
                factors.push_back({{"label", factor.label}, {"points", factor.points}});
        nlohmann::ordered_json dayBars = nlohmann::ordered_json::array();
        for (const auto& bar : bars)
            dayBars.push_back({{"day", bar.day.isoText()},
                               {"taken", bar.taken},
                               {"skipped", bar.skipped},
                               {"postponed", bar.postponed}});
        const nlohmann::ordered_json object = {
            {"date", day.isoText()},
            {"score", score ? nlohmann::ordered_json(score->score) : nlohmann::ordered_json(nullptr)},
            {"factors", factors},
            {"unobservedSeconds", score ? score->unobservedSeconds : 0.0},
            {"streak", current},
            {"longestStreak", longest},
            {"dayBars", dayBars},
        };
        invocation.out << object.dump() << '\n';
        return 0;
    }

    std::ostream& out = invocation.out;
    if (score) {
        // TRANSLATORS: %1 is a day such as "2026-03-05 Thu", %2 the score.
        out << i18n("Screen score %1: %2 out of 100", dayText(day), score->score) << '\n';
        for (const auto& factor : score->factors)
            out << "  " << factor.label << " (" << factor.points << ")\n";
        if (score->factors.empty())
            out << "  " << i18n("No deductions — a perfect day.") << '\n';
        if (const auto note = StatsPresentation::unobservedNote(score->unobservedSeconds))
            out << "  " << *note << '\n';
    } else {
        out << i18n("Screen score %1: none — no breaks logged", dayText(day)) << '\n';
    }
    out << i18n("Current streak: %1", StatsPresentation::streakText(current)) << '\n'
        << i18n("Longest streak: %1", StatsPresentation::streakText(longest)) << '\n'
        // TRANSLATORS: the heads of three columns of numbers, each word ending where its column does.
        << i18n("Last 7 days:      taken  skipped  snoozed") << '\n';
    for (const auto& bar : bars)
        out << "  " << dayText(bar.day) << std::setw(7) << bar.taken << std::setw(9) << bar.skipped << std::setw(9)
            << bar.postponed << '\n';
    return 0;
}

int report(const Invocation& invocation, const Options& options, const std::vector<BreakEvent>& events,
           const Calendar& calendar) {
    using namespace ReportsPresentation;
    const auto months = monthRows(events, calendar);
    const auto extremes = extremeDays(events, calendar);
    const auto buckets = durationBuckets(events);

    if (options.json) {
        const auto dayObject = [](const DayExtreme& day) {
            return nlohmann::ordered_json{{"day", day.day.isoText()},
                                          {"taken", day.taken},
                                          {"resolved", day.resolved},
                                          {"takenPercent", day.takenPercent()}};
        };
        nlohmann::ordered_json monthly = nlohmann::ordered_json::array();
        for (const auto& row : months)
            monthly.push_back({{"month", monthText(row.month)},
                               {"taken", row.taken},
                               {"skipped", row.skipped},
                               {"takenPercent", row.takenPercent()}});
        nlohmann::ordered_json lengths = nlohmann::ordered_json::array();
        for (const auto& bucket : buckets)
            lengths.push_back({{"name", bucket.name}, {"count", bucket.count}});
        const nlohmann::ordered_json object = {
            {"monthlyTrends", monthly},
            {"bestAndWorstDays", extremes ? nlohmann::ordered_json{{"best", dayObject(extremes->best)},
                                                                   {"worst", dayObject(extremes->worst)}}
                                          : nlohmann::ordered_json(nullptr)},
            {"breakLengths", lengths},
        };
        invocation.out << object.dump() << '\n';
        return 0;
    }

    std::ostream& out = invocation.out;
    out << i18n(monthlyTrendsCaption.data()) << '\n';
    if (months.empty())
        out << "  " << i18n(noMonthsText.data()) << '\n';
    for (const auto& row : months)
        out << "  " << monthText(row.month) << "  " << monthTooltip(row) << "  " << row.takenPercent() << "%\n";
    out << i18n(extremesCaption.data()) << '\n';
    if (!extremes)
        out << "  " << i18n(noExtremesText.data()) << '\n';
    else
        // TRANSLATORS: %1 is a day such as "2026-03-05 Thu", %2 its share such as "75% (3/4)"; keep the
        // labels as wide as each other.
        out << "  " << i18n("Best   %1  %2", dayText(extremes->best.day), extremeText(extremes->best)) << '\n'
            << "  " << i18n("Worst  %1  %2", dayText(extremes->worst.day), extremeText(extremes->worst)) << '\n';
    out << i18n(breakLengthsCaption.data()) << '\n';
    if (buckets.empty())
        out << "  " << i18n(noDurationsText.data()) << '\n';
    for (const auto& bucket : buckets)
        out << "  " << bucket.name << std::string(14 - std::min<std::size_t>(characterCount(bucket.name), 13), ' ')
            << bucket.count << '\n';
    return 0;
}

int exportCsv(const Invocation& invocation, const Options& options, const std::vector<BreakEvent>& events,
              const Calendar& calendar) {
    const std::string text = BreakLog::csv(events, calendar);
    if (!options.output) {
        invocation.out << text;
        return 0;
    }
    if (const auto failure = writeAtomically(text, *options.output)) {
        invocation.err << "sorvalactl: " << i18n("CSV export failed: %1", *failure) << '\n';
        return 1;
    }
    invocation.out << i18np("exported %1 event to %2", "exported %1 events to %2", events.size(), *options.output)
                   << '\n';
    return 0;
}

} // namespace

int runHistory(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        invocation.out << i18n(usage);
        return 0;
    }
    Options options;
    if (const auto error = parse(invocation.args, options))
        return fail(invocation, *error);

    StreamLogger log(invocation.err);
    BreakLogReader reader(options.file ? std::filesystem::path(*options.file) : BreakLog::fileURL());
    const BreakEvents events = reader.events(log);
    const SystemCalendar calendar;
    if (options.action == "stats")
        return stats(invocation, options, *events, calendar, log);
    if (options.action == "report")
        return report(invocation, options, *events, calendar);
    return exportCsv(invocation, options, *events, calendar);
}

} // namespace sorvala::ctl
