// SPDX-License-Identifier: MIT
#include "FakeSystemSignals.h"

namespace sorvala {

int FakeSystemSignals::callCount(const std::string& probe) const {
    const auto found = calls.find(probe);
    return found == calls.end() ? 0 : found->second;
}

std::vector<std::string> FakeSystemSignals::probed() const {
    std::vector<std::string> names;
    for (const auto& [name, count] : calls)
        if (count > 0)
            names.push_back(name);
    return names;
}

bool FakeSystemSignals::calendarAccessGranted(const std::vector<std::string>& sources) {
    lastCalendarSources = sources;
    return answer("calendarAccessGranted", calendarReadable && !sources.empty());
}

bool FakeSystemSignals::calendarEventInProgress(const std::vector<std::string>& sources, Instant now) {
    lastCalendarSources = sources;
    lastCalendarNow = now;
    return answer("calendarEventInProgress", calendarEvent);
}

} // namespace sorvala
