// SPDX-License-Identifier: MIT
#include "core/Instant.h"

#include "core/CivilDay.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sorvala {

namespace {

std::string formatLocal(std::int64_t localSeconds) {
    const std::int64_t days = localSeconds >= 0 ? localSeconds / 86400 : -((-localSeconds + 86399) / 86400);
    const std::int64_t secondOfDay = localSeconds - days * 86400;
    const CivilDay day = CivilDay::fromDaysSinceEpoch(days);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", day.year, day.month, day.day,
                  static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                  static_cast<int>(secondOfDay % 60));
    return buffer;
}

bool readNumber(std::string_view text, std::size_t at, std::size_t digits, int& out) {
    if (at + digits > text.size())
        return false;
    for (std::size_t i = at; i < at + digits; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    const char* begin = text.data() + at;
    return std::from_chars(begin, begin + digits, out).ec == std::errc{};
}

} // namespace

std::string iso8601(Instant instant) {
    return formatLocal(static_cast<std::int64_t>(std::floor(instant.secondsSinceEpoch()))) + "Z";
}

std::string iso8601(Instant instant, int utcOffsetSeconds) {
    const auto local = static_cast<std::int64_t>(std::floor(instant.secondsSinceEpoch())) + utcOffsetSeconds;
    std::string text = formatLocal(local);
    if (utcOffsetSeconds == 0)
        return text + "Z";
    const int magnitude = std::abs(utcOffsetSeconds) / 60;
    char offset[16];
    std::snprintf(offset, sizeof offset, "%c%02d:%02d", utcOffsetSeconds < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return text + offset;
}

std::optional<Instant> parseIso8601(std::string_view text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (text.size() < 20 || !readNumber(text, 0, 4, year) || text[4] != '-' || !readNumber(text, 5, 2, month) ||
        text[7] != '-' || !readNumber(text, 8, 2, day) || text[10] != 'T' || !readNumber(text, 11, 2, hour) ||
        text[13] != ':' || !readNumber(text, 14, 2, minute) || text[16] != ':' ||
        !readNumber(text, 17, 2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > CivilDay::daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 60)
        return std::nullopt;
    int offsetSeconds = 0;
    const std::string_view zone = text.substr(19);
    if (zone == "Z") {
        offsetSeconds = 0;
    } else {
        int offsetHours = 0, offsetMinutes = 0;
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || !readNumber(zone, 1, 2, offsetHours) ||
            zone[3] != ':' || !readNumber(zone, 4, 2, offsetMinutes) || offsetHours > 23 || offsetMinutes > 59)
            return std::nullopt;
        offsetSeconds = (offsetHours * 3600 + offsetMinutes * 60) * (zone[0] == '-' ? -1 : 1);
    }
    const std::int64_t days = CivilDay{year, month, day}.daysSinceEpoch();
    const std::int64_t local = days * 86400 + hour * 3600 + minute * 60 + second;
    return Instant::fromSecondsSinceEpoch(static_cast<double>(local - offsetSeconds));
}

} // namespace sorvala
