// SPDX-License-Identifier: MIT
#include "core/Calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace sorvala {

namespace {

constexpr std::int64_t secondsPerDay = 86400;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

DateComponents Calendar::components(Instant instant) const {
    const auto utc = static_cast<std::int64_t>(std::floor(instant.secondsSinceEpoch()));
    const std::int64_t local = utc + utcOffsetSeconds(instant);
    const std::int64_t days = floorDiv(local, secondsPerDay);
    const std::int64_t secondOfDay = local - days * secondsPerDay;
    DateComponents result;
    result.day = CivilDay::fromDaysSinceEpoch(days);
    result.hour = static_cast<int>(secondOfDay / 3600);
    result.minute = static_cast<int>(secondOfDay / 60 % 60);
    result.second = static_cast<int>(secondOfDay % 60);
    result.weekday = result.day.weekday();
    return result;
}

Instant Calendar::instant(CivilDay day, int hour, int minute, double second) const {
    const double wholeSecond = std::floor(second);
    const double fraction = second - wholeSecond;
    const std::int64_t local = day.daysSinceEpoch() * secondsPerDay + hour * 3600 + minute * 60 +
                               static_cast<std::int64_t>(wholeSecond);
    const auto at = [](std::int64_t seconds) { return Instant::fromSecondsSinceEpoch(static_cast<double>(seconds)); };

    // The offsets that could be in force around this wall-clock time; a zone changes its offset
    // at most once within a day in practice.
    std::vector<int> offsets;
    for (const std::int64_t probe : {local - secondsPerDay, local, local + secondsPerDay}) {
        const int offset = utcOffsetSeconds(at(probe));
        if (std::find(offsets.begin(), offsets.end(), offset) == offsets.end())
            offsets.push_back(offset);
    }

    std::optional<std::int64_t> earliest;
    for (const int offset : offsets) {
        const std::int64_t candidate = local - offset;
        if (utcOffsetSeconds(at(candidate)) == offset && (!earliest || candidate < *earliest))
            earliest = candidate;
    }
    if (earliest)
        return at(*earliest) + fraction;

    // The time falls into a gap: answer the moment the gap ends, the first instant whose
    // offset is the later one. Search between the two readings of the wall-clock time.
    std::int64_t low = local - *std::max_element(offsets.begin(), offsets.end());
    std::int64_t high = local - *std::min_element(offsets.begin(), offsets.end());
    const int laterOffset = utcOffsetSeconds(at(high));
    while (low < high) {
        const std::int64_t middle = low + (high - low) / 2;
        if (utcOffsetSeconds(at(middle)) == laterOffset)
            high = middle;
        else
            low = middle + 1;
    }
    return at(high);
}

std::vector<std::string> Calendar::defaultVeryShortWeekdaySymbols() {
    return {"S", "M", "T", "W", "T", "F", "S"};
}

Instant Calendar::startOfDay(Instant instant) const {
    return startOfDay(day(instant));
}

Instant Calendar::nextTime(Instant after, int hour, int minute) const {
    CivilDay candidateDay = day(after);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const Instant candidate = instant(candidateDay, hour, minute);
        if (candidate > after)
            return candidate;
        candidateDay = candidateDay.addingDays(1);
    }
    return instant(candidateDay, hour, minute);
}

} // namespace sorvala
