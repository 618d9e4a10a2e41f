// SPDX-License-Identifier: MIT
#include "core/Calendar.h"
#include "support/ZoneCalendar.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(CalendarLocalTime, ComponentsFollowTheZonesOffset) {
    const ZoneCalendar berlin("Europe/Berlin");
    const Instant winter = *parseIso8601("2026-01-15T23:30:00Z");
    const DateComponents c = berlin.components(winter);
    EXPECT_EQ(c.day, (CivilDay{2026, 1, 16}));
    EXPECT_EQ(c.hour, 0);
    EXPECT_EQ(c.minute, 30);
    EXPECT_EQ(c.weekday, 6); // Friday
}

TEST(CalendarLocalTime, SkippedAndRepeatedWallClockTimes) {
    struct Case { const char* name; const char* zone; CivilDay day; int hour; int minute; const char* utc; };
    const Case cases[] = {
        {"Berlin spring gap resolves to its end", "Europe/Berlin", {2026, 3, 29}, 2, 30, "2026-03-29T01:00:00Z"},
        {"Berlin autumn repeat takes the first", "Europe/Berlin", {2026, 10, 25}, 2, 30, "2026-10-25T00:30:00Z"},
        {"New York spring gap resolves to its end", "America/New_York", {2026, 3, 8}, 2, 15, "2026-03-08T07:00:00Z"},
        {"New York autumn repeat takes the first", "America/New_York", {2026, 11, 1}, 1, 30, "2026-11-01T05:30:00Z"},
        {"ordinary time", "America/New_York", {2026, 7, 1}, 9, 0, "2026-07-01T13:00:00Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ZoneCalendar calendar(c.zone);
        EXPECT_EQ(iso8601(calendar.instant(c.day, c.hour, c.minute)), c.utc);
    }
}

TEST(CalendarLocalTime, StartOfDayAndNextTimeAreStrict) {
    const ZoneCalendar berlin("Europe/Berlin");
    const Instant nine = berlin.at("2026-06-10T09:00:00");
    EXPECT_EQ(berlin.startOfDay(nine), berlin.at("2026-06-10T00:00:00"));
    EXPECT_EQ(berlin.nextTime(nine, 9, 0), berlin.at("2026-06-11T09:00:00"));
    EXPECT_EQ(berlin.nextTime(nine - 1, 9, 0), nine);
}

TEST(CivilDayArithmetic, RoundTripsAndWeekdays) {
    for (std::int64_t days : {-719468LL, -1LL, 0LL, 59LL, 11016LL, 20793LL, 2932896LL})
        EXPECT_EQ(CivilDay::fromDaysSinceEpoch(days).daysSinceEpoch(), days);
    EXPECT_EQ((CivilDay{2026, 12, 6}).weekday(), 1); // a Sunday
    EXPECT_EQ((CivilDay{2024, 2, 28}).addingDays(1), (CivilDay{2024, 2, 29}));
    EXPECT_EQ((CivilDay{2026, 12, 31}).addingDays(1), (CivilDay{2027, 1, 1}));
}

TEST(InstantText, Iso8601BothWays) {
    const Instant at = *parseIso8601("2026-12-05T19:23:07Z");
    EXPECT_EQ(iso8601(at + 0.9), "2026-12-05T19:23:07Z");
    EXPECT_EQ(iso8601(at, 3600), "2026-12-05T20:23:07+01:00");
    EXPECT_EQ(iso8601(at, -5 * 3600 - 1800), "2026-12-05T13:53:07-05:30");
    EXPECT_EQ(parseIso8601("2026-12-05T20:23:07+01:00"), at);
    EXPECT_EQ(parseIso8601("2026-12-05T19:23:07.5Z"), std::nullopt);
    EXPECT_EQ(parseIso8601("2026-02-30T00:00:00Z"), std::nullopt);
    EXPECT_EQ(Instant::distantFuture().secondsSinceReferenceDate(), 63113904000.0);
}

} // namespace
} // namespace sorvala
