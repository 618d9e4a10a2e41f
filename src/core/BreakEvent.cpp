// SPDX-License-Identifier: MIT
#include "core/BreakEvent.h"

namespace sorvala {

std::string_view text(BreakEvent::Kind kind) {
    switch (kind) {
    case BreakEvent::Kind::long_: return "long";
    case BreakEvent::Kind::micro: return "micro";
    }
    return "long";
}

std::string_view text(BreakEvent::Outcome outcome) {
    switch (outcome) {
    case BreakEvent::Outcome::taken: return "taken";
    case BreakEvent::Outcome::skipped: return "skipped";
    case BreakEvent::Outcome::postponed: return "postponed";
    case BreakEvent::Outcome::excused: return "excused";
    case BreakEvent::Outcome::asleep: return "asleep";
    case BreakEvent::Outcome::unobserved: return "unobserved";
    }
    return "taken";
}

std::optional<BreakEvent::Kind> kindFromText(std::string_view word) {
    for (const auto kind : allBreakKinds)
        if (text(kind) == word)
            return kind;
    return std::nullopt;
}

std::optional<BreakEvent::Outcome> outcomeFromText(std::string_view word) {
    for (const auto outcome : allBreakOutcomes)
        if (text(outcome) == word)
            return outcome;
    return std::nullopt;
}

} // namespace sorvala
