// SPDX-License-Identifier: MIT
#pragma once

#include "Subcommand.h"

#include "core/Instant.h"

#include <functional>

namespace sorvala {
class Calendar;
class PreferencesStore;
class SystemSignals;
} // namespace sorvala

namespace sorvala::ctl {

/// What `sorvalactl probe` reads: the system, the settings, the user's calendar and the clock.
struct ProbeSources {
    SystemSignals& system;
    const PreferencesStore& store;
    const Calendar& calendar;
    std::function<Instant()> now;
    /// Waits `seconds` between two rounds of --watch; answering false ends the watch.
    std::function<bool(double seconds)> wait;
};

/// Seconds between two rounds of `sorvalactl probe --watch`.
inline constexpr double probeWatchInterval = 2.0;

/// Runs `sorvalactl probe [--json] [--watch]` against `sources`.
int runProbe(const Invocation& invocation, ProbeSources& sources);

} // namespace sorvala::ctl
