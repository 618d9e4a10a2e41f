// SPDX-License-Identifier: MIT
#include "core/BreakHold.h"

#include <algorithm>

namespace sorvala {

std::optional<Instant> BreakHold::latchCompletedAt(std::optional<Instant> previous, DrawingProgress drawing,
                                                   Instant now) {
    if (drawing != DrawingProgress::complete)
        return std::nullopt;
    return previous ? previous : std::optional<Instant>(now);
}

bool BreakHold::longBreakCanEnd(std::optional<Instant> completedAt, Instant now, std::optional<Instant> extendedUntil,
                                std::optional<Instant> startedAt, double maximumDuration, double lingerSeconds) {
    const Instant floor = extendedUntil.value_or(Instant::distantPast());
    if (completedAt && now >= std::max(floor, *completedAt + lingerSeconds))
        return true;
    return startedAt && now >= std::max(floor, *startedAt + maximumDuration);
}

std::string_view text(BreakHold::DrawingProgress progress) {
    switch (progress) {
    case BreakHold::DrawingProgress::complete: return "complete";
    case BreakHold::DrawingProgress::inProgress: return "inProgress";
    case BreakHold::DrawingProgress::noRenderer: return "noRenderer";
    }
    return "noRenderer";
}

} // namespace sorvala
