// SPDX-License-Identifier: MIT
#include "platform/calendar/SystemCalendar.h"
#include "support/ScopedEnvironment.h"
#include "support/ZoneCalendar.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace sorvala {
namespace {

TEST(SystemCalendar, AgreesWithTheZoneDatabaseAcrossDaylightSavingChanges) {
    const std::pair<std::string, const char*> cases[] = {
        {"Europe/Berlin", "2026-03-29T01:00:00Z"},
        {"Europe/Berlin", "2026-10-25T01:00:00Z"},
        {"America/New_York", "2026-03-08T07:00:00Z"},
        {"America/New_York", "2026-11-01T06:00:00Z"},
    };
    for (const auto& [zone, at] : cases) {
        SCOPED_TRACE(zone + " " + at);
        const SystemCalendar system(zone);
        const ZoneCalendar reference(zone);
        ASSERT_TRUE(system.isValid());
        EXPECT_EQ(system.timeZoneId(), zone);
        const Instant change = *parseIso8601(at);
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

    const SystemCalendar unknown("Mars/Olympus_Mons");
    EXPECT_FALSE(unknown.isValid());
    EXPECT_EQ(unknown.utcOffsetSeconds(*parseIso8601("2026-07-01T12:00:00Z")), 0);
}

} // namespace
} // namespace sorvala
