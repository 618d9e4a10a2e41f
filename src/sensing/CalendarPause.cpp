// SPDX-License-Identifier: MIT
#include "sensing/CalendarPause.h"

#include <algorithm>

namespace sorvala::CalendarPause {

bool eventInProgress(const std::vector<Event>& events, Instant now) {
    return std::any_of(events.begin(), events.end(), [now](const Event& event) {
        return !event.isAllDay && event.start <= now && now < event.end;
    });
}

} // namespace sorvala::CalendarPause
