// SPDX-License-Identifier: MIT
#include "history/DayOffsetCache.h"

#include <cmath>

namespace sorvala {

int DayOffsetCache::utcOffsetSeconds(Instant instant) const {
    const double seconds = instant.secondsSinceEpoch();
    if (!std::isfinite(seconds))
        return m_zone.utcOffsetSeconds(instant);
    const auto day = static_cast<std::int64_t>(std::floor(seconds / 86400.0));
    auto found = m_days.find(day);
    if (found == m_days.end()) {
        const Instant start = Instant::fromSecondsSinceEpoch(double(day) * 86400.0);
        const int first = m_zone.utcOffsetSeconds(start);
        const bool steady = m_zone.utcOffsetSeconds(start + 43200.0) == first &&
                            m_zone.utcOffsetSeconds(start + 86399.0) == first;
        found = m_days.emplace(day, steady ? std::optional<int>(first) : std::nullopt).first;
    }
    return found->second ? *found->second : m_zone.utcOffsetSeconds(instant);
}

} // namespace sorvala
