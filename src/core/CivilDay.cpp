// SPDX-License-Identifier: MIT
#include "core/CivilDay.h"

#include <cstdio>

namespace sorvala {

// Howard Hinnant's days_from_civil and civil_from_days.
std::int64_t CivilDay::daysSinceEpoch() const {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDay CivilDay::fromDaysSinceEpoch(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return CivilDay{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int CivilDay::weekday() const {
    // 1970-01-01 was a Thursday (5).
    const std::int64_t days = daysSinceEpoch();
    const std::int64_t zeroBasedFromSunday = ((days + 4) % 7 + 7) % 7;
    return static_cast<int>(zeroBasedFromSunday) + 1;
}

int CivilDay::daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    return lengths[(month - 1) % 12];
}

std::string CivilDay::isoText() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

} // namespace sorvala
