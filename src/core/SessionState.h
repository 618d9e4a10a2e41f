// SPDX-License-Identifier: MIT
#pragma once

#include "core/BreakTiming.h"
#include "core/Instant.h"

#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

class Logger;
class PreferencesStore;

/// The pause deadline and the two work-stretch starts, carried across a quit and relaunch.
struct SessionState {
    /// The settings key the state is stored under, as one JSON text.
    static constexpr std::string_view defaultsKey = "sessionState";

    std::optional<Instant> pausedUntil; ///< the distant future means paused until resumed
    std::optional<Instant> longStretchStartedAt;
    std::optional<Instant> microStretchStartedAt;
    Instant savedAt;
    std::string version; ///< the build that saved it

    /// The JSON object: instants as seconds since 2001-01-01T00:00:00Z, absent values omitted.
    /// nullopt when it cannot be encoded (a version that is not UTF-8).
    std::optional<std::string> encoded() const;
    /// The state a stored text holds; nullopt when the text is damaged.
    static std::optional<SessionState> decoded(std::string_view text);

    /// Stores the state; when it cannot be encoded, logs so and stores nothing.
    void save(PreferencesStore& defaults, Logger& log) const;
    /// The stored state; a damaged value is logged, removed and read as none.
    static std::optional<SessionState> load(PreferencesStore& defaults, Logger& log);
    /// Removes the stored state.
    static void clear(PreferencesStore& defaults);

    /// What of the state still applies at `now` for build `version`: the stretches only after a
    /// quick relaunch of the same build with the clock not gone back, the pause only while in the
    /// future; nullopt when nothing is left.
    std::optional<SessionState> restored(Instant now, std::string_view version,
                                         double maximumGap = BreakTiming::idleResetThreshold) const;

    bool operator==(const SessionState&) const = default;
};

} // namespace sorvala
