// SPDX-License-Identifier: MIT
#include "core/BreakSchedule.h"

#include "core/PreferencesStore.h"
#include "core/SettingsKeys.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sorvala {

BreakSchedule BreakSchedule::stored(const PreferencesStore& store) {
    return BreakSchedule{store.boundedInteger(SettingsSchema::reminderMinutesKey),
                         store.boundedInteger(SettingsSchema::microMinutesKey),
                         store.boolean(SettingsSchema::breakCycleEnabledKey),
                         store.boundedInteger(SettingsSchema::breakCycleLengthKey)};
}

WorkClock::Intervals BreakSchedule::storedIntervals(const PreferencesStore& store) {
    // Asked every second by the countdown: with the cycle riding the micro breaks (the factory
    // schedule) the long interval is never read.
    const int micro = store.boundedInteger(SettingsSchema::microMinutesKey);
    const bool rides = micro > 0 && store.boolean(SettingsSchema::breakCycleEnabledKey) &&
                       store.boundedInteger(SettingsSchema::breakCycleLengthKey) > 1;
    const int long_ = rides ? 0 : store.boundedInteger(SettingsSchema::reminderMinutesKey);
    return WorkClock::Intervals{long_ * 60.0, micro * 60.0};
}

bool BreakSchedule::cycleRidesMicro() const {
    return cycleLength > 1 && cycleEnabled && microMinutes > 0;
}

WorkClock::Intervals BreakSchedule::intervals() const {
    return WorkClock::Intervals{cycleRidesMicro() ? 0.0 : longMinutes * 60.0, microMinutes * 60.0};
}

int BreakSchedule::overtimeLimitMinutes() const {
    if (!cycleRidesMicro())
        return longMinutes;
    // Both factors are positive here; a hand-edited settings file must not overflow into a
    // negative limit that would call every minute overtime.
    const std::int64_t minutes = std::int64_t{cycleLength} * microMinutes;
    return static_cast<int>(std::min<std::int64_t>(minutes, std::numeric_limits<int>::max()));
}

bool BreakSchedule::billedAsExcused(BreakEvent::Kind kind) const {
    return kind == BreakEvent::Kind::long_ || cycleRidesMicro();
}

BreakEvent::Kind BreakSchedule::nextBreakKind(int breaksSinceLongBreak) const {
    return cycleRidesMicro() && breaksSinceLongBreak + 1 >= cycleLength ? BreakEvent::Kind::long_
                                                                         : BreakEvent::Kind::micro;
}

int BreakSchedule::cycleCount(BreakEvent::Kind after, int current) {
    return after == BreakEvent::Kind::long_ ? 0 : current + 1;
}

} // namespace sorvala
