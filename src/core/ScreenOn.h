// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <optional>
#include <string_view>
#include <variant>

namespace sorvala {
class PreferencesStore;
}

/// Notices long spans in which no screen was on and credits them as rest.
namespace sorvala::ScreenOn {

/// The settings key of the last instant a screen was seen on.
inline constexpr std::string_view defaultsKey = "screenLastOnAt";
/// Period of the screen watch.
inline constexpr double checkInterval = 60;
/// A check later than this after the previous one means the machine slept in between.
inline constexpr double staleTickSeconds = 180;

/// Credit this many dark seconds as rest, then record the screen as on.
struct CreditThenRecord {
    double seconds = 0;
    bool operator==(const CreditThenRecord&) const = default;
};
/// Nothing to do yet.
struct Wait {
    bool operator==(const Wait&) const = default;
};
/// Record the screen as on now.
struct Record {
    bool operator==(const Record&) const = default;
};
/// What one check of the screens leads to.
using Action = std::variant<CreditThenRecord, Wait, Record>;

/// One check: when the screens came back, and what to do.
struct Tick {
    std::optional<Instant> returnedAt;
    Action action = Wait{};
    bool operator==(const Tick&) const = default;
};

/// Stores `date` as the last time a screen was seen on.
void record(Instant date, PreferencesStore& defaults);
/// The stored instant; nullopt when none is stored or the stored value is not an instant.
std::optional<Instant> lastOnAt(const PreferencesStore& defaults);

/// Dark spans count as rest only beyond a full work interval, and never below the idle threshold.
double threshold(int intervalMinutes);
/// The dark span since `lastOnAt` when it is longer than the threshold.
std::optional<double> darkSpanSeconds(std::optional<Instant> lastOnAt, Instant now, double thresholdSeconds);
/// Wait while dark; credit a span longer than the threshold; otherwise record.
Action action(std::optional<Instant> lastOnAt, Instant now, bool anyScreenIsOn, double thresholdSeconds);
/// One periodic check; the grace keeps a brief wake from ending a dark span.
Tick tick(std::optional<Instant> returnedAt, std::optional<Instant> lastOnAt, std::optional<Instant> lastTickAt,
          Instant now, bool anyScreenIsOn, double thresholdSeconds, double graceSeconds);

} // namespace sorvala::ScreenOn
