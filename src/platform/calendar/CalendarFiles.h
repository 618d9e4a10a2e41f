// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"
#include "sensing/CalendarPause.h"

#include <memory>
#include <string>
#include <vector>

namespace sorvala {

class Logger;

/// The iCalendar reader (`ICalendarSources`, over libical). It lives in the calendar module,
/// loaded at the first reading, so a program without calendar sources maps no libical.
class CalendarFiles {
public:
    /// One reader and what it has parsed so far; one thread at a time.
    class Reader {
    public:
        virtual ~Reader() = default;
        /// As `ICalendarSources::occurrences`.
        virtual std::vector<CalendarPause::Event> occurrences(const std::vector<std::string>& sources, Instant from,
                                                              Instant to) = 0;
    };

    virtual ~CalendarFiles() = default;
    virtual std::unique_ptr<Reader> reader() = 0;

    /// The calendar module's reader factory, loaded on the first call; null when the module
    /// cannot be loaded (said in `log`).
    static CalendarFiles* load(Logger* log);
};

} // namespace sorvala
