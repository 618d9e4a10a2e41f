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

// Skipped and repeated wall-clock times are resolved through nextTime in the planned-break tests.
TEST(CalendarLocalTime, StartOfDay) {
    const ZoneCalendar berlin("Europe/Berlin");
    EXPECT_EQ(berlin.startOfDay(berlin.at("2026-06-10T09:00:00")), berlin.at("2026-06-10T00:00:00"));
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
}

} // namespace
} // namespace sorvala
