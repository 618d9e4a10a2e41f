// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakEvent.h"
#include "core/WorkClock.h"

namespace sorvala {

class PreferencesStore;

/// The interval schedule with its optional long-break cycle riding the micro breaks.
struct BreakSchedule {
    int longMinutes = 20;
    int microMinutes = 20;
    bool cycleEnabled = true;
    int cycleLength = 3;

    /// Reads "reminderMinutes", "microMinutes", "breakCycleEnabled" and "breakCycleLength".
    static BreakSchedule stored(const PreferencesStore& store);
    /// `stored(store).intervals()`, reading no setting the answer does not turn on.
    static WorkClock::Intervals storedIntervals(const PreferencesStore& store);

    /// Whether every `cycleLength`-th micro break is taken as the long break.
    bool cycleRidesMicro() const;
    /// The work clock's intervals: no separate long interval while the cycle rides the micro breaks.
    WorkClock::Intervals intervals() const;
    /// Minutes of unbroken work after which the user counts as overdue.
    int overtimeLimitMinutes() const;
    /// Whether holding a due break of `kind` is accounted like holding a long break.
    bool billedAsExcused(BreakEvent::Kind kind) const;
    /// The kind the next micro firing becomes, given the micro breaks since the last long one.
    BreakEvent::Kind nextBreakKind(int breaksSinceLongBreak) const;
    /// The cycle count after a break of kind `after`.
    static int cycleCount(BreakEvent::Kind after, int current);

    bool operator==(const BreakSchedule&) const = default;
};

} // namespace sorvala
