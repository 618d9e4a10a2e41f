// SPDX-License-Identifier: MIT
#include "platform/calendar/ICalendarSources.h"

#include <libical/ical.h>

#include <ctime>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>

namespace sorvala {

namespace {

// How far back an occurrence may start and still overlap the window: long events, and
// recurrences whose window libical matches on the start only.
constexpr double lookBehindSeconds = 8 * 24 * 3600.0;
constexpr double lookAheadSeconds = 24 * 3600.0;
// How far past the asked window a file's occurrences are worked out at once.
constexpr double expansionAheadSeconds = 7 * 24 * 3600.0;

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

/// Seconds since the epoch of an iCalendar time. Floating times (no zone) are local time.
double toEpoch(icaltimetype time) {
    if (time.is_date)
        time.hour = time.minute = time.second = 0;
    if (time.zone || icaltime_is_utc(time))
        return static_cast<double>(
            icaltime_as_timet_with_zone(time, time.zone ? time.zone : icaltimezone_get_utc_timezone()));
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    return static_cast<double>(std::mktime(&local));
}

/// The end of an event: DTEND, else DTSTART + DURATION, else one day for an all-day event and
/// the start itself for a timed one.
double endOf(icalcomponent* event, icaltimetype start, double startEpoch) {
    icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
    if (dtend)
        return toEpoch(icalcomponent_get_dtend(event));
    icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
    if (duration)
        return startEpoch + icaldurationtype_as_int(icalproperty_get_duration(duration));
    return start.is_date ? startEpoch + 24 * 3600.0 : startEpoch;
}

bool isCancelled(icalcomponent* event) {
    return icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED;
}

/// Seconds since the epoch of the local wall-clock time that reads like `utcSeconds` in UTC.
double wallClockAsLocal(double utcSeconds) {
    const auto seconds = static_cast<time_t>(utcSeconds);
    std::tm fields{};
    gmtime_r(&seconds, &fields);
    fields.tm_isdst = -1;
    return static_cast<double>(std::mktime(&fields));
}

struct Collector {
    std::vector<CalendarPause::Event>* out;
    bool isAllDay;
    bool isFloating;                   // libical expands floating times as if they were UTC
    const std::set<double>* movedAway; // starts replaced by a RECURRENCE-ID instance
    double length;
    double from;
    double to;
};

/// Every occurrence of the events of `root` that overlaps [from, to].
std::vector<CalendarPause::Event> expand(icalcomponent* root, Instant from, Instant to) {
    std::vector<CalendarPause::Event> out;
    {
        // A bare VEVENT file is its own calendar; a VCALENDAR holds many.
        std::vector<icalcomponent*> events;
        if (icalcomponent_isa(root) == ICAL_VEVENT_COMPONENT) {
            events.push_back(root);
        } else {
            for (icalcomponent* event = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); event;
                 event = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT))
                events.push_back(event);
        }

        // Instances moved or changed by a RECURRENCE-ID component replace the master's instance.
        std::map<std::string, std::set<double>> moved;
        for (icalcomponent* event : events) {
            icalproperty* recurrenceId = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
            const char* uid = icalcomponent_get_uid(event);
            if (recurrenceId && uid)
                // Read with the component, so its TZID resolves against the calendar's zones.
                moved[uid].insert(toEpoch(icalproperty_get_datetime_with_component(recurrenceId, event)));
        }

        for (icalcomponent* event : events) {
            icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
            if (!dtstart)
                continue;
            const icaltimetype start = icalcomponent_get_dtstart(event);
            if (icaltime_is_null_time(start))
                continue;
            const double startEpoch = toEpoch(start);
            const double endEpoch = endOf(event, start, startEpoch);
            const bool allDay = start.is_date != 0;
            const bool isRecurring = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                                     icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
            const bool isOverride =
                icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
            if (isCancelled(event))
                continue;
            if (!isRecurring || isOverride) {
                if (startEpoch <= to.secondsSinceEpoch() && endEpoch >= from.secondsSinceEpoch())
                    out.push_back({Instant::fromSecondsSinceEpoch(startEpoch),
                                   Instant::fromSecondsSinceEpoch(endEpoch), allDay});
                continue;
            }
            const char* uid = icalcomponent_get_uid(event);
            static const std::set<double> none;
            const std::set<double>& movedAway = uid && moved.count(uid) ? moved[uid] : none;
            const bool floating = !start.zone && !icaltime_is_utc(start) && !allDay;
            Collector collector{&out,
                                allDay,
                                floating,
                                &movedAway,
                                endEpoch - startEpoch,
                                from.secondsSinceEpoch(),
                                to.secondsSinceEpoch()};
            icaltimetype windowStart = icaltime_from_timet_with_zone(
                static_cast<time_t>(from.secondsSinceEpoch() - lookBehindSeconds), 0,
                icaltimezone_get_utc_timezone());
            // A day past the window: floating instances are placed in local time afterwards.
            icaltimetype windowEnd =
                icaltime_from_timet_with_zone(static_cast<time_t>(to.secondsSinceEpoch() + lookAheadSeconds),
                                              0, icaltimezone_get_utc_timezone());
            icalcomponent_foreach_recurrence(
                event, windowStart, windowEnd,
                [](icalcomponent*, struct icaltime_span* span, void* data) {
                    auto* c = static_cast<Collector*>(data);
                    const auto instanceStart = c->isFloating
                                                   ? wallClockAsLocal(static_cast<double>(span->start))
                                                   : static_cast<double>(span->start);
                    if (c->movedAway->count(instanceStart) || instanceStart > c->to ||
                        instanceStart + c->length < c->from)
                        return;
                    c->out->push_back({Instant::fromSecondsSinceEpoch(instanceStart),
                                       Instant::fromSecondsSinceEpoch(instanceStart + c->length),
                                       c->isAllDay});
                },
                &collector);
        }
    }
    return out;
}

} // namespace

struct ICalendarSources::Parsed {
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;
    ComponentPtr root;
    std::vector<CalendarPause::Event> expanded; ///< the occurrences overlapping [expandedFrom, expandedTo]
    std::optional<Instant> expandedFrom;
    std::optional<Instant> expandedTo;
};

ICalendarSources::ICalendarSources() = default;
ICalendarSources::~ICalendarSources() = default;

ICalendarSources::Parsed* ICalendarSources::parsed(const std::filesystem::path& file) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error)
        return nullptr;
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return nullptr;
    auto& slot = m_files[file];
    if (slot && slot->modified == modified && slot->size == size)
        return slot->root ? slot.get() : nullptr;
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    slot = std::make_unique<Parsed>();
    slot->modified = modified;
    slot->size = size;
    if (in.bad())
        return nullptr;
    slot->root.reset(icalparser_parse_string(text.str().c_str()));
    return slot->root ? slot.get() : nullptr;
}

std::vector<CalendarPause::Event> ICalendarSources::occurrences(const std::vector<std::string>& sources,
                                                                Instant from, Instant to) {
    std::vector<std::filesystem::path> files;
    for (const std::string& source : sources) {
        std::error_code error;
        if (std::filesystem::is_directory(source, error)) {
            for (std::filesystem::directory_iterator it(source, error), end; !error && it != end;
                 it.increment(error))
                if (it->path().extension() == ".ics")
                    files.push_back(it->path());
        } else {
            files.emplace_back(source);
        }
    }

    // Files gone from a folder (or a source no longer chosen) are forgotten.
    const std::set<std::filesystem::path> wanted(files.begin(), files.end());
    std::erase_if(m_files, [&](const auto& entry) { return !wanted.contains(entry.first); });

    std::vector<CalendarPause::Event> out;
    for (const auto& file : files) {
        Parsed* calendar = parsed(file);
        if (!calendar)
            continue;
        // A long recurrence is walked from its first instance: walk it once for a week ahead,
        // then answer from that until the window leaves it or the file changes.
        if (!calendar->expandedTo || from < *calendar->expandedFrom || to > *calendar->expandedTo) {
            calendar->expanded = expand(calendar->root.get(), from, to + expansionAheadSeconds);
            calendar->expandedFrom = from;
            calendar->expandedTo = to + expansionAheadSeconds;
        }
        for (const auto& event : calendar->expanded)
            if (event.start <= to && event.end >= from)
                out.push_back(event);
    }
    return out;
}

} // namespace sorvala
