// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

/// Small rules that keep the log readable.
namespace sorvala::Diagnostics {

/// Why the work clock is not counting.
enum class SuppressedTickReason { paused, offHours, resting };

inline constexpr SuppressedTickReason allSuppressedTickReasons[] = {
    SuppressedTickReason::paused, SuppressedTickReason::offHours, SuppressedTickReason::resting};

/// The first reason that applies, in the order paused, offHours, resting; nullopt while counting.
std::optional<SuppressedTickReason> suppressedTickReason(bool schedulingAllowed, bool withinWorkingHours,
                                                         bool resting);
/// Whether a periodic progress line is due again.
constexpr bool shouldLogHeartbeat(std::int64_t elapsedSeconds, std::int64_t lastLoggedSeconds,
                                  std::int64_t everySeconds) {
    return elapsedSeconds - lastLoggedSeconds >= everySeconds;
}

} // namespace sorvala::Diagnostics

namespace sorvala {
/// "paused", "offHours" or "resting".
std::string_view text(Diagnostics::SuppressedTickReason reason);
/// The reason a word names; nullopt for a word it does not know.
std::optional<Diagnostics::SuppressedTickReason> suppressedTickReasonFromText(std::string_view word);
} // namespace sorvala
