// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"

#include <optional>
#include <vector>

namespace sorvala {

/// Where the application records breaks and reads back the day's counts.
class BreakHistory {
public:
    virtual ~BreakHistory() = default;
    /// Appends one event dated now; its report line goes to the log first.
    virtual void record(BreakEvent::Kind kind, BreakEvent::Outcome outcome, std::optional<double> durationSeconds) = 0;
    /// The whole history in the order it was recorded.
    virtual std::vector<BreakEvent> events() = 0;
    /// The events dated from `from` on, in the order they were recorded: the recent days that
    /// today's counts and the streak need, without the rest of the history.
    virtual std::vector<BreakEvent> eventsSince(Instant from) {
        auto recent = events();
        std::erase_if(recent, [from](const BreakEvent& event) { return event.date < from; });
        return recent;
    }
};

} // namespace sorvala
