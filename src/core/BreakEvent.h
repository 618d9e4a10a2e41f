// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <optional>
#include <string_view>

namespace sorvala {

/// One record of the break history: a break that ended, or a due break disposed of without one.
struct BreakEvent {
    enum class Kind { long_, micro };
    enum class Outcome { taken, skipped, postponed, excused, asleep, unobserved };

    Instant date;                          ///< when the record was made
    Kind kind = Kind::long_;
    Outcome outcome = Outcome::taken;
    std::optional<double> durationSeconds; ///< absent where the outcome has no length

    bool operator==(const BreakEvent&) const = default;
};

/// "long" or "micro": the word in stored records and log lines.
std::string_view text(BreakEvent::Kind kind);
/// "taken", "skipped", "postponed", "excused", "asleep" or "unobserved".
std::string_view text(BreakEvent::Outcome outcome);
/// The kind a stored word names; nullopt for a word it does not know.
std::optional<BreakEvent::Kind> kindFromText(std::string_view word);
/// The outcome a stored word names; nullopt for a word it does not know.
std::optional<BreakEvent::Outcome> outcomeFromText(std::string_view word);

inline constexpr BreakEvent::Kind allBreakKinds[] = {BreakEvent::Kind::long_, BreakEvent::Kind::micro};
inline constexpr BreakEvent::Outcome allBreakOutcomes[] = {
    BreakEvent::Outcome::taken,     BreakEvent::Outcome::skipped, BreakEvent::Outcome::postponed,
    BreakEvent::Outcome::excused,   BreakEvent::Outcome::asleep,  BreakEvent::Outcome::unobserved};

} // namespace sorvala
