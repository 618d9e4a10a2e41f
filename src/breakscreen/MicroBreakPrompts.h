// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace sorvala {

/// One tip of a micro break: what to do, a line on why or how, and a rhythm to follow.
struct MicroBreakPrompt {
    std::string prompt;
    std::string subtitle;
    std::optional<std::string> cue;
    bool operator==(const MicroBreakPrompt&) const = default;
};

/// The catalogue of micro-break tips and the rule that picks the next one.
namespace MicroBreakPrompts {

/// Every tip, in catalogue order, in English.
const std::array<MicroBreakPrompt, 16>& all();

/// `tip` in the user's language.
MicroBreakPrompt translated(const MicroBreakPrompt& tip);

/// Answers a whole number from 0 up to, not including, its argument.
using RandomBelow = std::function<std::uint64_t(std::uint64_t bound)>;

/// A tip picked uniformly at random, in the user's language, never the same as `previous` when it is in
/// the catalogue.
MicroBreakPrompt next(const std::optional<MicroBreakPrompt>& previous, const RandomBelow& randomBelow);
/// The same, drawing from the system's secure random source.
MicroBreakPrompt next(const std::optional<MicroBreakPrompt>& previous);

} // namespace MicroBreakPrompts

/// The numbers and texts of the micro break's ring.
namespace MicroBreakDisplay {

/// The seconds left, rounded half away from zero, as "m:ss".
std::string countdownText(double remainingSeconds);
/// How much of the ring is still drawn: 1 at the start, 0 when the rest is over.
double ringFraction(double remainingSeconds, double restSeconds);
/// The glow's opacity at `breath` (0 at the faintest of its 6-second breath, 1 at the brightest).
double glowOpacity(double breath);

} // namespace MicroBreakDisplay

} // namespace sorvala
