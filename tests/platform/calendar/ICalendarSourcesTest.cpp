// SPDX-License-Identifier: MIT
#include "platform/calendar/ICalendarSources.h"
#include "platform/calendar/BackgroundCalendar.h"

#include "sensing/CalendarPause.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

using namespace sorvala;

namespace {

const std::string dir = SORVALA_TEST_DATA_DIR "/platform/calendar/";

bool inProgress(ICalendarSources& calendar, const std::vector<std::string>& sources, const char* utc) {
    const Instant now = *parseIso8601(utc);
    return CalendarPause::eventInProgress(calendar.occurrences(sources, now, now), now);
}

struct Case {
    const char* name;
    const char* utc;
    bool busy;
};

void expectBusy(ICalendarSources& calendar, const char* file, std::initializer_list<Case> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(inProgress(calendar, {dir + file}, c.utc), c.busy);
    }
}

} // namespace

TEST(ICalendarSources, WeeklyMeetingWithExclusionsMovesAndDaylightSaving) {
    ICalendarSources calendar;
    expectBusy(calendar, "weekly.ics",
               {{"first instance, 10:10 in Berlin", "2026-01-05T09:10:00Z", true},
                {"and is over at its end", "2026-01-05T09:30:00Z", false},
                {"the excluded Monday", "2026-01-12T09:10:00Z", false},
                {"the moved instance's old time", "2026-01-19T09:10:00Z", false},
                {"the moved instance's new time", "2026-01-19T13:10:00Z", true},
                {"the cancelled instance", "2026-01-26T09:10:00Z", false},
                {"summer time: 10:10 in Berlin is 08:10 UTC", "2026-04-06T08:10:00Z", true},
                {"summer time: 09:10 UTC is 11:10 in Berlin", "2026-04-06T09:10:00Z", false}});
}

TEST(ICalendarSources, AllDayDurationsOpenEndsAndForeignZones) {
    ICalendarSources calendar;
    expectBusy(calendar, "single.ics",
               {{"all-day holiday alone never holds", "2026-01-05T11:00:00Z", false},
                {"DURATION form, inside", "2026-01-05T15:30:00Z", true},
                {"DURATION form, at its end", "2026-01-05T15:45:00Z", false},
                {"an event without an end never holds", "2026-01-05T16:00:00Z", false},
                {"New York 09:00 is 14:00 UTC", "2026-01-05T14:00:00Z", true},
                {"recurring all-day event", "2026-01-14T10:00:00Z", false}});
    // The all-day ones are read, only marked: they are the decider's to ignore.
    const Instant noon = *parseIso8601("2026-01-14T12:00:00Z");
    const auto events = calendar.occurrences({dir + "single.ics"}, noon, noon);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events.front().isAllDay);
}

TEST(ICalendarSources, FoldersAreReadAndBadSourcesSkipped) {
    ICalendarSources calendar;
    const std::vector<std::string> sources = {dir + "missing.ics", dir + "vdir", dir + "vdir/broken.ics"};
    EXPECT_TRUE(inProgress(calendar, sources, "2026-01-06T08:30:00Z"));
    EXPECT_TRUE(inProgress(calendar, sources, "2026-01-06T12:30:00Z"));
    EXPECT_FALSE(inProgress(calendar, sources, "2026-01-06T10:30:00Z"));
    EXPECT_TRUE(ICalendarSources::isReadable(dir + "vdir"));
    EXPECT_FALSE(ICalendarSources::isReadable(dir + "missing.ics"));
}

TEST(ICalendarSources, AChangedFileIsReadAgainAndAFileGoneFromAFolderIsForgotten) {
    TemporaryDirectory folder;
    const auto path = folder / "reread.ics";
    auto write = [&](const std::string& start, const std::string& end) {
        writeFile(path, "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:x\nDTSTART:" + start +
                            "\nDTEND:" + end + "\nEND:VEVENT\nEND:VCALENDAR\n");
    };
    ICalendarSources calendar;
    const std::vector<std::string> sources = {folder.path().string()};
    write("20260106T080000Z", "20260106T090000Z");
    EXPECT_TRUE(inProgress(calendar, sources, "2026-01-06T08:30:00Z"));
    // Another length, so the change shows even within one tick of the file clock.
    write("20260106T100000Z", "20260106T110000Z ");
    EXPECT_FALSE(inProgress(calendar, sources, "2026-01-06T08:30:00Z"));
    EXPECT_TRUE(inProgress(calendar, sources, "2026-01-06T10:30:00Z"));
    std::filesystem::remove(path);
    EXPECT_FALSE(inProgress(calendar, sources, "2026-01-06T10:30:00Z")) << "a deleted event still held breaks";
}

TEST(ICalendarSources, FloatingTimesAreTheLocalWallClock) {
    {
        const ScopedEnvironment zone("TZ", "Europe/Berlin");
        ::tzset();
        ICalendarSources calendar;
        expectBusy(calendar, "floating.ics",
                   {{"weekly, 10:30 in Berlin", "2026-01-12T09:30:00Z", true},
                    {"weekly, 10:30 UTC is 11:30 in Berlin", "2026-01-12T10:30:00Z", false},
                    {"weekly in summer, 10:30 in Berlin", "2026-06-01T08:30:00Z", true},
                    {"once, 12:30 in Berlin", "2026-01-06T11:30:00Z", true},
                    {"once, 12:30 UTC", "2026-01-06T12:30:00Z", false}});
    }
    ::tzset(); // the zone of the run again
}

TEST(BackgroundCalendar, AnswersAtOnceAndFromTheReadingOnceItEnds) {
    BackgroundCalendar calendar(nullptr, std::chrono::seconds(60));
    const std::vector<std::string> sources = {dir + "single.ics"};
    const Instant now = *parseIso8601("2026-01-05T15:10:00Z");
    calendar.eventInProgress(sources, now); // asks for the first reading
    calendar.waitUntilRead();
    EXPECT_TRUE(calendar.eventInProgress(sources, now));
    EXPECT_FALSE(calendar.eventInProgress(sources, *parseIso8601("2026-01-05T15:50:00Z")))
        << "the event ended";
    calendar.waitUntilRead();
    EXPECT_FALSE(calendar.eventInProgress({dir + "weekly.ics"}, now)) << "another calendar is not yet read";
}
