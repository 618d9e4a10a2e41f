// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"

#include <memory>
#include <string>

namespace sorvala {

/// A calendar in any named time zone of the system's zone database ("Europe/Berlin"), or at a
/// fixed offset ("UTC", "UTC+01:00"), without Qt.
class ZoneCalendar final : public Calendar {
public:
    explicit ZoneCalendar(std::string zone, int firstWeekday = 2);

    int utcOffsetSeconds(Instant instant) const override;
    int firstWeekday() const override { return m_firstWeekday; }
    std::string timeZoneId() const override { return m_zone; }

    /// The instant of a local wall-clock time given as "2026-03-29T02:30:00".
    Instant at(const std::string& localDateTime) const;

    struct OffsetCache;

private:
    std::string m_zone;
    int m_firstWeekday;
    /// Offsets by quarter hour: zones change their offset only on a quarter hour, and asking
    /// the C library switches TZ, which is slow.
    std::shared_ptr<OffsetCache> m_cache;
};

} // namespace sorvala
