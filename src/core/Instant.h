// SPDX-License-Identifier: MIT
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace sorvala {

/// A wall-clock point in time with sub-second precision; differences are seconds as double.
class Instant {
public:
    /// Seconds between the Unix epoch and 2001-01-01T00:00:00Z, the reference date of stored instants.
    static constexpr double referenceDateOffset = 978307200.0;

    constexpr Instant() = default;

    static constexpr Instant fromSecondsSinceEpoch(double seconds) { return Instant(seconds); }
    static constexpr Instant fromSecondsSinceReferenceDate(double seconds) {
        return Instant(seconds + referenceDateOffset);
    }
    /// An instant before every real one (the year 1).
    static constexpr Instant distantPast() { return Instant(-62135769600.0); }
    /// An instant after every real one (the year 4001); "paused until resumed" is this instant.
    static constexpr Instant distantFuture() { return Instant(64092211200.0); }

    constexpr double secondsSinceEpoch() const { return m_seconds; }
    constexpr double secondsSinceReferenceDate() const { return m_seconds - referenceDateOffset; }

    constexpr Instant operator+(double seconds) const { return Instant(m_seconds + seconds); }
    constexpr Instant operator-(double seconds) const { return Instant(m_seconds - seconds); }
    constexpr Instant& operator+=(double seconds) { m_seconds += seconds; return *this; }
    constexpr Instant& operator-=(double seconds) { m_seconds -= seconds; return *this; }
    /// Seconds from `other` to this instant (negative when this one is earlier).
    constexpr double operator-(Instant other) const { return m_seconds - other.m_seconds; }

    constexpr auto operator<=>(const Instant&) const = default;

private:
    constexpr explicit Instant(double seconds) : m_seconds(seconds) {}
    double m_seconds = 0;
};

/// ISO 8601 in UTC with whole seconds, "2026-12-05T19:23:07Z"; the fraction is dropped.
std::string iso8601(Instant instant);

/// ISO 8601 with the given offset from UTC, "2026-12-05T20:23:07+01:00" ("Z" for a zero offset).
std::string iso8601(Instant instant, int utcOffsetSeconds);

/// Reads "YYYY-MM-DDTHH:MM:SSZ" or with a "+hh:mm"/"-hh:mm" offset; whole seconds only.
std::optional<Instant> parseIso8601(std::string_view text);

} // namespace sorvala
