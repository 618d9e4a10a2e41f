// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"
#include "sensing/CalendarPause.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sorvala {

/// Reads the events of iCalendar files (.ics) and folders of them (vdir calendars) with
/// libical: recurrences expanded, excluded dates and moved instances applied, time zones
/// honoured. A file is parsed again only when its size or modification time changes, and its
/// occurrences are worked out a week ahead at a time; files gone from the sources are forgotten.
/// Not thread-safe: one thread at a time (see `BackgroundCalendar`). Built into the calendar
/// module (see `CalendarFiles`), and into the tests, benchmarks and fuzzer that read with it.
class ICalendarSources {
public:
    ICalendarSources();
    ~ICalendarSources();
    ICalendarSources(const ICalendarSources&) = delete;
    ICalendarSources& operator=(const ICalendarSources&) = delete;

    /// Whether `source` (a file or a folder) can be read.
    static bool isReadable(const std::string& source);

    /// Every occurrence of every event of `sources` that overlaps [from, to]; unreadable or
    /// unparsable sources are skipped. All-day occurrences are included, marked as such.
    std::vector<CalendarPause::Event> occurrences(const std::vector<std::string>& sources, Instant from,
                                                  Instant to);

private:
    struct Parsed;
    Parsed* parsed(const std::filesystem::path& file);

    std::map<std::filesystem::path, std::unique_ptr<Parsed>> m_files;
};

} // namespace sorvala
