// SPDX-License-Identifier: MIT
#include "simulation/ZoneCalendar.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace sorvala {

namespace {

// The C library answers for the zone named in TZ; switching it is process-wide, so one lock.
std::mutex zoneLock;

int offsetIn(const std::string& zone, std::time_t when) {
    std::lock_guard lock(zoneLock);
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    ::setenv("TZ", zone.c_str(), 1);
    ::tzset();
    std::tm local{};
    ::localtime_r(&when, &local);
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    return static_cast<int>(local.tm_gmtoff);
}

} // namespace

struct ZoneCalendar::OffsetCache {
    std::mutex lock;
    std::unordered_map<long long, int> offsets;
};

ZoneCalendar::ZoneCalendar(std::string zone, int firstWeekday)
    : m_zone(std::move(zone)), m_firstWeekday(firstWeekday), m_cache(std::make_shared<OffsetCache>()) {}

int ZoneCalendar::utcOffsetSeconds(Instant instant) const {
    if (m_zone == "UTC")
        return 0;
    if (m_zone.rfind("UTC", 0) == 0 && m_zone.size() == 9) { // "UTC+01:00"
        const int sign = m_zone[3] == '-' ? -1 : 1;
        return sign * (std::stoi(m_zone.substr(4, 2)) * 3600 + std::stoi(m_zone.substr(7, 2)) * 60);
    }
    const auto quarter = static_cast<long long>(std::floor(instant.secondsSinceEpoch() / 900));
    {
        std::lock_guard lock(m_cache->lock);
        if (const auto found = m_cache->offsets.find(quarter); found != m_cache->offsets.end())
            return found->second;
    }
    const int offset = offsetIn(":" + m_zone, static_cast<std::time_t>(quarter * 900));
    std::lock_guard lock(m_cache->lock);
    m_cache->offsets.emplace(quarter, offset);
    return offset;
}

Instant ZoneCalendar::at(const std::string& localDateTime) const {
    const auto asUtc = parseIso8601(localDateTime + "Z");
    if (!asUtc)
        throw std::invalid_argument("not a local date and time: " + localDateTime);
    const DateComponents c = ZoneCalendar("UTC").components(*asUtc);
    return instant(c.day, c.hour, c.minute, c.second);
}

} // namespace sorvala
