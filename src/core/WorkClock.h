// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <optional>
#include <string_view>
#include <variant>

namespace sorvala {

/// How long the user has worked since the last long and the last micro break, and whether an
/// absence was long enough to count as rest. A plain value: every operation is given "now".
struct WorkClock {
    /// Interval lengths in seconds; 0 or less switches that kind of break off.
    struct Intervals {
        double long_ = 0;
        double micro = 0;
        bool operator==(const Intervals&) const = default;
    };

    /// The result of one step.
    struct ShowUndo {
        double awaySeconds = 0;
        bool operator==(const ShowUndo&) const = default;
    };
    struct None { bool operator==(const None&) const = default; };
    struct FireLong { bool operator==(const FireLong&) const = default; };
    struct FireMicro { bool operator==(const FireMicro&) const = default; };
    using Action = std::variant<ShowUndo, None, FireLong, FireMicro>;

    std::optional<Instant> longStart;
    std::optional<Instant> microStart;
    std::optional<Instant> stashedLongStart;
    std::optional<Instant> stashedMicroStart;
    bool awayPending = false;
    std::optional<Instant> awayStartedAt;

    /// Advances the clock by one poll and says what is due.
    Action step(Instant now, double idleSeconds, Intervals intervals, double resetThreshold, bool canFire);
    /// Starts fresh long and micro stretches at `now` and forgets any undo.
    void restart(Instant now);
    void restartMicro(Instant now);
    void clearUndo();
    /// Puts back the stretches the last away reset discarded.
    void undo();
    void clearAwayState();
    /// Pushes both stretches later so the next break comes `by` seconds from now at the earliest.
    void postpone(double by, Instant now, Intervals intervals);

    /// Work the last away reset threw away, in seconds.
    double discardedStretchSeconds(Instant now, double awaySeconds) const;
    /// Seconds until the nearer of the two breaks; nullopt when neither applies. Never negative.
    std::optional<double> secondsUntilNextBreak(Instant now, Intervals intervals) const;
    double secondsWorkedLong(Instant now) const;

    bool operator==(const WorkClock&) const = default;
};

/// Whether undoing an away reset is worth offering.
namespace AwayUndo {
inline constexpr std::string_view resetDescription = "Away time counted as rest — timer restarted";
/// True when the reset threw away more work than the absence it counts as rest.
bool shouldOffer(double discardedSeconds, double awaySeconds);
} // namespace AwayUndo

} // namespace sorvala
