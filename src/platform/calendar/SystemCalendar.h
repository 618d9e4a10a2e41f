// SPDX-License-Identifier: MIT
#pragma once

#include "core/Calendar.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sorvala {

/// The user's calendar on the system's time-zone database: offsets come from QTimeZone, the
/// first weekday from the system locale.
class SystemCalendar final : public Calendar {
public:
    /// The system's zone as it is when constructed (TZ is honoured, ":Europe/Berlin" too).
    SystemCalendar();
    /// A named zone ("America/New_York"); an unknown name falls back to UTC (see `isValid`).
    explicit SystemCalendar(std::string_view zoneId);
    ~SystemCalendar() override;
    SystemCalendar(const SystemCalendar&) = delete;
    SystemCalendar& operator=(const SystemCalendar&) = delete;

    int utcOffsetSeconds(Instant instant) const override;
    int firstWeekday() const override;
    std::string timeZoneId() const override;
    /// The system locale's narrow weekday names.
    std::vector<std::string> veryShortWeekdaySymbols() const override;

    /// Whether the zone asked for was known; false when this calendar fell back to UTC.
    bool isValid() const;

private:
    struct Zone;
    std::unique_ptr<Zone> m_zone;
};

} // namespace sorvala
