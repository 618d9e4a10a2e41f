// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

namespace sorvala {

/// A calendar that asks another for the zone's offset once per UTC day instead of once per
/// instant, for passes over a whole history: the system's zone lookups are the slow part of them.
/// A day whose offset differs at its start, middle and end (a daylight-saving change) is asked
/// instant by instant.
class DayOffsetCache final : public Calendar {
public:
    explicit DayOffsetCache(const Calendar& zone) : m_zone(zone) {}

    int utcOffsetSeconds(Instant instant) const override;
    int firstWeekday() const override { return m_zone.firstWeekday(); }
    std::string timeZoneId() const override { return m_zone.timeZoneId(); }
    std::vector<std::string> veryShortWeekdaySymbols() const override { return m_zone.veryShortWeekdaySymbols(); }

private:
    const Calendar& m_zone;
    /// The offset of each UTC day asked about so far; nullopt for a day with a change in it.
    mutable std::unordered_map<std::int64_t, std::optional<int>> m_days;
};

} // namespace sorvala
