// SPDX-License-Identifier: MIT
#include "core/BreakSchedule.h"
#include "core/FixedBreakTimes.h"
#include "core/SettingsKeys.h"
#include "core/WorkingHours.h"
#include "support/MemoryPreferences.h"
#include "support/ZoneCalendar.h"

#include <gtest/gtest.h>

#include <limits>

namespace sorvala {
namespace {

using Kind = BreakEvent::Kind;

TEST(BreakScheduleCycle, RidingTheMicroBreaks) {
    const BreakSchedule cycle{60, 20, true, 4};
    EXPECT_TRUE(cycle.cycleRidesMicro());
    EXPECT_EQ(cycle.intervals(), (WorkClock::Intervals{0, 1200}));
    EXPECT_EQ(cycle.overtimeLimitMinutes(), 80);
    EXPECT_EQ(cycle.nextBreakKind(2), Kind::micro);
    EXPECT_EQ(cycle.nextBreakKind(3), Kind::long_) << "the 4th micro break is the long one";
    EXPECT_TRUE(cycle.billedAsExcused(Kind::micro));
    EXPECT_EQ(BreakSchedule::cycleCount(Kind::micro, 3), 4);
    EXPECT_EQ(BreakSchedule::cycleCount(Kind::long_, 3), 0);
}

TEST(BreakScheduleCycle, IgnoredForLengthOneMicroOffOrSwitchOff) {
    const BreakSchedule cases[] = {{60, 20, true, 1}, {60, 0, true, 4}, {60, 20, false, 4}};
    for (const auto& schedule : cases) {
        SCOPED_TRACE(::testing::Message() << "micro " << schedule.microMinutes << " length " << schedule.cycleLength
                                          << " enabled " << schedule.cycleEnabled);
        EXPECT_FALSE(schedule.cycleRidesMicro());
        EXPECT_EQ(schedule.intervals().long_, 3600);
        EXPECT_EQ(schedule.overtimeLimitMinutes(), 60);
        EXPECT_EQ(schedule.nextBreakKind(10), Kind::micro);
        EXPECT_FALSE(schedule.billedAsExcused(Kind::micro));
        EXPECT_TRUE(schedule.billedAsExcused(Kind::long_));
    }
}

TEST(BreakScheduleCycle, TheIntervalsReadAloneAgreeWithTheWholeSchedule) {
    MemoryPreferences store;
    store.set(SettingsSchema::reminderMinutesKey, std::int64_t{45});
    for (const std::int64_t micro : {-5, 0, 20})
        for (const bool enabled : {false, true})
            for (const std::int64_t length : {0, 1, 2}) {
                SCOPED_TRACE(::testing::Message() << "micro " << micro << " enabled " << enabled << " length " << length);
                store.set(SettingsSchema::microMinutesKey, micro);
                store.set(SettingsSchema::breakCycleEnabledKey, enabled);
                store.set(SettingsSchema::breakCycleLengthKey, length);
                EXPECT_EQ(BreakSchedule::storedIntervals(store), BreakSchedule::stored(store).intervals());
            }
}

TEST(BreakScheduleCycle, HugeStoredValuesDoNotOverflowTheOvertimeLimit) {
    MemoryPreferences store;
    store.set(SettingsSchema::microMinutesKey, std::string("99999999999")); // edited by hand
    store.set(SettingsSchema::breakCycleLengthKey, std::int64_t{1} << 40);
    store.set(SettingsSchema::breakCycleEnabledKey, std::string("true"));
    const BreakSchedule schedule = BreakSchedule::stored(store);
    EXPECT_TRUE(schedule.cycleRidesMicro());
    EXPECT_EQ(schedule.overtimeLimitMinutes(), std::numeric_limits<int>::max());
}

WorkingHours nightShiftMondayOnly() {
    return WorkingHours{true, 22 * 60, 6 * 60, 1 << 1};
}

TEST(WorkingHoursWindow, OvernightBelongsToTheEveningBefore) {
    const ZoneCalendar berlin("Europe/Berlin");
    struct Case { const char* name; const char* local; bool inside; };
    const Case cases[] = {
        {"Monday 23:00", "2026-06-08T23:00:00", true},
        {"Tuesday 05:00 belongs to Monday", "2026-06-09T05:00:00", true},
        {"Tuesday 06:00 is the end", "2026-06-09T06:00:00", false},
        {"Monday 05:00 belongs to Sunday", "2026-06-08T05:00:00", false},
        {"Tuesday 23:00", "2026-06-09T23:00:00", false},
        {"Monday noon", "2026-06-08T12:00:00", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(nightShiftMondayOnly().contains(berlin.at(c.local), berlin), c.inside);
    }
    const WorkingHours sundayNight{true, 22 * 60, 6 * 60, 1 << 0};
    EXPECT_TRUE(sundayNight.contains(berlin.at("2026-06-08T03:00:00"), berlin)) << "Monday's small hours are Sunday's";
}

TEST(WorkingHoursWindow, DayWindowNoWeekdayAndStartEqualToEnd) {
    const ZoneCalendar berlin("Europe/Berlin");
    const Instant wednesdayNine = berlin.at("2026-06-10T09:00:00");
    const WorkingHours nineToFive{true, 540, 1020, 62};
    EXPECT_TRUE(nineToFive.contains(wednesdayNine, berlin));
    EXPECT_FALSE(nineToFive.contains(wednesdayNine - 60, berlin));
    EXPECT_FALSE(nineToFive.contains(berlin.at("2026-06-10T17:00:00"), berlin));
    EXPECT_FALSE(nineToFive.contains(berlin.at("2026-06-13T10:00:00"), berlin)) << "Saturday";
    EXPECT_TRUE((WorkingHours{false, 540, 1020, 0}).contains(berlin.at("2026-06-13T03:00:00"), berlin));

    const WorkingHours noWeekday{true, 540, 1020, 0};
    EXPECT_FALSE(noWeekday.contains(wednesdayNine, berlin));
    for (const int minute : {0, 540, 600, 1439})
        EXPECT_FALSE(noWeekday.everFires(minute)) << minute;

    const WorkingHours allDay{true, 600, 600, 62};
    EXPECT_TRUE(allDay.isOvernight());
    for (const char* local : {"2026-06-10T00:00:00", "2026-06-10T09:59:00", "2026-06-10T10:00:00", "2026-06-10T23:59:00"})
        EXPECT_TRUE(allDay.contains(berlin.at(local), berlin)) << local;
    EXPECT_FALSE(allDay.contains(berlin.at("2026-06-13T12:00:00"), berlin));
}

TEST(WorkingHoursWindow, StoredTextsAndWhenTheWindowEverOpens) {
    MemoryPreferences store;
    store.set(SettingsSchema::workingHoursEnabledKey, true);
    store.set(SettingsSchema::workingHoursStartMinutesKey, std::string("480"));
    store.set(SettingsSchema::workingHoursEndMinutesKey, std::int64_t{960});
    store.set(SettingsSchema::workingWeekdaysMaskKey, std::int64_t{0});
    const WorkingHours hours = WorkingHours::stored(store);
    EXPECT_EQ(hours, (WorkingHours{true, 480, 960, 0}));
    const ZoneCalendar berlin("Europe/Berlin");
    const Instant mondayNoon = berlin.at("2026-06-15T12:00:00");
    EXPECT_FALSE(WorkingHours::storedContains(store, mondayNoon, berlin)) << "no weekday in the window";
    store.set(SettingsSchema::workingHoursEnabledKey, false);
    EXPECT_TRUE(WorkingHours::storedContains(store, mondayNoon, berlin)) << "working hours off";
    EXPECT_TRUE(WorkingHours{}.everFires(0)) << "working hours off";
    EXPECT_FALSE((WorkingHours{true, 480, 960, 62}).everFires(960));
}

std::vector<std::string> formattedEach(const std::vector<ClockTime>& times) {
    std::vector<std::string> out;
    for (const auto& time : times)
        out.push_back(time.formatted());
    return out;
}

TEST(FixedBreakTimesText, ParseKeepsValidPiecesInInputOrder) {
    const auto times = FixedBreakTimes::parse("9:00, 25:00, 7:5, , 13:30");
    EXPECT_EQ(formattedEach(times), (std::vector<std::string>{"09:00", "07:05", "13:30"}));
    EXPECT_EQ(FixedBreakTimes::formatted(times), "07:05, 09:00, 13:30");
    EXPECT_EQ(FixedBreakTimes::formatted(FixedBreakTimes::parse("10:00,10:00")), "10:00, 10:00");

    struct Case { const char* text; std::vector<std::string> expected; };
    const Case cases[] = {
        {"12", {}},
        {"12:00:00", {}},
        {"", {}},
        {" 8 : 15 ,+9:-0", {"08:15", "09:00"}},
        {"a:00, 9:6x, 23:59, 0:0, 24:00, 12:60, -1:00", {"23:59", "00:00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formattedEach(FixedBreakTimes::parse(c.text)), c.expected);
    }
}

TEST(FixedBreakTimesNext, StrictlyAfterAndTheEarliestOfAll) {
    const ZoneCalendar berlin("Europe/Berlin");
    const auto times = FixedBreakTimes::parse("23:00, 09:00");
    EXPECT_EQ(FixedBreakTimes::nextFireDate(berlin.at("2026-06-10T09:00:00"), times, berlin),
              berlin.at("2026-06-10T23:00:00"));
    EXPECT_EQ(FixedBreakTimes::nextFireDate(berlin.at("2026-06-10T08:59:59"), times, berlin),
              berlin.at("2026-06-10T09:00:00"));
    EXPECT_EQ(FixedBreakTimes::nextFireDate(berlin.at("2026-06-10T23:30:00"), times, berlin),
              berlin.at("2026-06-11T09:00:00"));
    EXPECT_EQ(FixedBreakTimes::nextFireDate(berlin.at("2026-06-10T09:00:00"), FixedBreakTimes::parse("9:00"), berlin),
              berlin.at("2026-06-11T09:00:00"));
    EXPECT_EQ(FixedBreakTimes::nextFireDate(berlin.at("2026-06-10T09:00:00"), {}, berlin), std::nullopt);
}

TEST(FixedBreakTimesNext, AcrossDaylightSavingChanges) {
    struct Case { const char* name; const char* zone; const char* afterUtc; const char* plan; const char* firesUtc; };
    const Case cases[] = {
        {"Berlin: skipped 02:30 fires when the gap ends", "Europe/Berlin", "2026-03-28T23:00:00Z", "2:30", "2026-03-29T01:00:00Z"},
        {"Berlin: noon after the spring change", "Europe/Berlin", "2026-03-28T12:00:00Z", "12:00", "2026-03-29T10:00:00Z"},
        {"Berlin: repeated 02:30 fires at its first occurrence", "Europe/Berlin", "2026-10-24T22:00:00Z", "2:30", "2026-10-25T00:30:00Z"},
        {"Berlin: not again at the second occurrence", "Europe/Berlin", "2026-10-25T00:30:00Z", "2:30", "2026-10-26T01:30:00Z"},
        {"Berlin: noon after the autumn change", "Europe/Berlin", "2026-10-24T11:00:00Z", "12:00", "2026-10-25T11:00:00Z"},
        {"New York: skipped 02:15", "America/New_York", "2026-03-08T05:00:00Z", "2:15", "2026-03-08T07:00:00Z"},
        {"New York: repeated 01:30, first occurrence", "America/New_York", "2026-11-01T04:00:00Z", "1:30", "2026-11-01T05:30:00Z"},
        {"New York: not again at the second", "America/New_York", "2026-11-01T05:30:00Z", "1:30", "2026-11-02T06:30:00Z"},
        {"New York: 09:00 after the spring change", "America/New_York", "2026-03-07T15:00:00Z", "9:00", "2026-03-08T13:00:00Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ZoneCalendar calendar(c.zone);
        const auto next = FixedBreakTimes::nextFireDate(*parseIso8601(c.afterUtc), FixedBreakTimes::parse(c.plan), calendar);
        ASSERT_TRUE(next);
        EXPECT_EQ(iso8601(*next), c.firesUtc);
    }
}

} // namespace
} // namespace sorvala
