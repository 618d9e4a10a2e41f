// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <vector>

/// Whether the calendar holds breaks right now, over events already read from the sources.
namespace sorvala::CalendarPause {

/// One occurrence of an event (a recurring event contributes one per instance). An event
/// without an end takes its start as its end, so it never counts as in progress.
struct Event {
    Instant start;
    Instant end;
    bool isAllDay = false;
    bool operator==(const Event&) const = default;
};

/// True when some event is not all-day and start <= now < end.
bool eventInProgress(const std::vector<Event>& events, Instant now);

} // namespace sorvala::CalendarPause
