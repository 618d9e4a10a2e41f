// SPDX-License-Identifier: MIT
#include "platform/calendar/SystemCalendar.h"
#include "support/ScopedEnvironment.h"
#include "support/ZoneCalendar.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvala {
namespace {

TEST(SystemCalendar, AgreesWithTheZoneDatabaseAcrossDaylightSavingChanges) {
    struct Case {
        const char* zone;
        const char* change;
    };
    const Case cases[] = {
        {"Europe/Berlin", "2026-03-29T01:00:00Z"},
        {"Europe/Berlin", "2026-10-25T01:00:00Z"},
        {"America/New_York", "2026-03-08T07:00:00Z"},
        {"America/New_York", "2026-11-01T06:00:00Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.change);
        const SystemCalendar system(c.zone);
        const ZoneCalendar reference(c.zone);
        ASSERT_TRUE(system.isValid());
        EXPECT_EQ(system.timeZoneId(), c.zone);
        const Instant change = *parseIso8601(c.change);
        EXPECT_NE(system.utcOffsetSeconds(change - 1), system.utcOffsetSeconds(change));
        for (double step = -3 * 3600; step <= 3 * 3600; step += 900) {
            SCOPED_TRACE(iso8601(change + step));
            EXPECT_EQ(system.utcOffsetSeconds(change + step), reference.utcOffsetSeconds(change + step));
            EXPECT_EQ(system.components(change + step).minutesOfDay(),
                      reference.components(change + step).minutesOfDay());
        }
    }
}

TEST(SystemCalendar, TheSystemZoneHonoursTzAndAnUnknownZoneFallsBackToUtc) {
    const SystemCalendar calendar = [] {
        const ScopedEnvironment zone("TZ", "America/New_York");
        return SystemCalendar();
    }();
    EXPECT_EQ(calendar.timeZoneId(), "America/New_York");
    EXPECT_EQ(calendar.utcOffsetSeconds(*parseIso8601("2026-01-15T12:00:00Z")), -5 * 3600);
    EXPECT_GE(calendar.firstWeekday(), 1);
    EXPECT_LE(calendar.firstWeekday(), 7);

    const SystemCalendar unknown("Mars/Olympus_Mons");
    EXPECT_FALSE(unknown.isValid());
    EXPECT_EQ(unknown.utcOffsetSeconds(*parseIso8601("2026-07-01T12:00:00Z")), 0);
}

} // namespace
} // namespace sorvala
