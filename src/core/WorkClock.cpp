// SPDX-License-Identifier: MIT
#include "core/WorkClock.h"

#include <algorithm>

namespace sorvala {

WorkClock::Action WorkClock::step(Instant now, double idleSeconds, Intervals intervals, double resetThreshold,
                                  bool canFire) {
    const bool microEnabled = intervals.micro > 0;

    if (idleSeconds >= resetThreshold) {
        if (awayPending)
            return None{};
        // The crossing tick. An undo still open from an earlier absence keeps its older stash.
        if (!stashedLongStart && !stashedMicroStart) {
            stashedLongStart = longStart;
            stashedMicroStart = microStart;
        }
        awayStartedAt = now - idleSeconds;
        longStart.reset();
        microStart.reset();
        awayPending = true;
        return None{};
    }

    if (awayPending) {
        const double awaySeconds = awayStartedAt ? std::max(0.0, now - *awayStartedAt) : 0.0;
        awayPending = false;
        awayStartedAt.reset();
        longStart = now;
        microStart = microEnabled ? std::optional<Instant>(now) : std::nullopt;
        if (canFire)
            return ShowUndo{awaySeconds};
        clearUndo();
        return None{};
    }

    if (!longStart)
        longStart = now;
    if (microEnabled && !microStart)
        microStart = now;
    if (!canFire)
        return None{};
    if (intervals.long_ > 0 && now - *longStart >= intervals.long_)
        return FireLong{};
    if (microEnabled && now - *microStart >= intervals.micro)
        return FireMicro{};
    return None{};
}

void WorkClock::restart(Instant now) {
    longStart = now;
    microStart = now;
    awayPending = false;
    clearUndo();
}

void WorkClock::restartMicro(Instant now) {
    microStart = now;
}

void WorkClock::clearUndo() {
    stashedLongStart.reset();
    stashedMicroStart.reset();
}

void WorkClock::undo() {
    longStart = stashedLongStart;
    microStart = stashedMicroStart;
    clearUndo();
}

void WorkClock::clearAwayState() {
    awayPending = false;
    awayStartedAt.reset();
    clearUndo();
}

void WorkClock::postpone(double by, Instant now, Intervals intervals) {
    const auto push = [&](std::optional<Instant>& start, double interval) {
        if (!start)
            return;
        if (interval > 0)
            start = std::max(*start + by, now + by - interval);
        else
            start = *start + by;
    };
    push(longStart, intervals.long_);
    push(microStart, intervals.micro);
}

double WorkClock::discardedStretchSeconds(Instant now, double awaySeconds) const {
    if (!stashedLongStart)
        return 0;
    return std::max(0.0, (now - awaySeconds) - *stashedLongStart);
}

std::optional<double> WorkClock::secondsUntilNextBreak(Instant now, Intervals intervals) const {
    std::optional<double> soonest;
    const auto consider = [&](const std::optional<Instant>& start, double interval) {
        if (interval <= 0 || !start)
            return;
        const double remaining = std::max(0.0, interval - (now - *start));
        if (!soonest || remaining < *soonest)
            soonest = remaining;
    };
    consider(longStart, intervals.long_);
    consider(microStart, intervals.micro);
    return soonest;
}

double WorkClock::secondsWorkedLong(Instant now) const {
    return longStart ? std::max(0.0, now - *longStart) : 0.0;
}

bool AwayUndo::shouldOffer(double discardedSeconds, double awaySeconds) {
    return awaySeconds < discardedSeconds;
}

} // namespace sorvala
